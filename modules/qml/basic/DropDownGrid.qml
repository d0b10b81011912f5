pragma ComponentBehavior: Bound
import QtQuick

// A field showing the selected entry of mdItems that drops down a grid of
// three columns, each cell as wide as the field. Choosing a cell with a text
// selects it, closes the grid and signals btnClick.
DropField {
    id: root

    property ListModel mdItems: ListModel {}
    property int currentSelect: 0

    // A page may leave the grid without a model for a while.
    readonly property int itemCount: root.mdItems ? root.mdItems.count : 0
    // Whole rows, so a count that is not a multiple of three shows its last row.
    readonly property int gridHeight: 24 * Math.ceil(root.itemCount / 3)

    signal btnClick

    function closeMenu() {
        root.isDrop = false
    }

    function fieldClicked() {
        if (!dropAnimation.running)
            root.isDrop = !root.isDrop
    }

    function choose(index) {
        if (index < 0 || index >= root.itemCount || root.mdItems.get(index).textValue === "")
            return
        root.currentSelect = index
        root.closeMenu()
        root.btnClick()
    }

    function refreshText() {
        var model = root.mdItems
        var inRange = model !== null && root.currentSelect >= 0 && root.currentSelect < model.count
        root.textValue = inRange ? model.get(root.currentSelect).textValue : ""
    }

    onClicked: root.fieldClicked()
    onKeyActivated: root.fieldClicked()

    onCurrentSelectChanged: root.refreshText()
    onMdItemsChanged: root.refreshText()
    onIsDropChanged: {
        dropAnimation.to = root.isDrop ? root.gridHeight : 0
        dropAnimation.restart()
    }
    onGridHeightChanged: {
        if (root.isDrop && !dropAnimation.running)
            dropArea.height = root.gridHeight
    }
    Component.onCompleted: {
        root.refreshText()
        dropArea.height = root.isDrop ? root.gridHeight : 0
    }

    Connections {
        target: root.mdItems
        function onCountChanged() {
            root.refreshText()
        }
        function onDataChanged() {
            root.refreshText()
        }
    }

    Item {
        id: dropArea
        objectName: "dropArea"
        y: root.height
        width: root.width * 3
        height: 0
        visible: dropArea.height > 0
        clip: true

        // A last row that is not full hides what lies under the grid too.
        Rectangle {
            anchors.fill: parent
            color: root.bgColor
        }

        Grid {
            columns: 3

            // Cells exist only while the grid is open or closing: a page may
            // hold several long grids that stay closed most of the time.
            Repeater {
                model: root.isDrop || dropArea.visible ? root.mdItems : null

                Rectangle {
                    id: cell

                    required property int index
                    required property string textValue

                    function choose() {
                        root.choose(cell.index)
                    }

                    objectName: "cell" + cell.index
                    width: root.width
                    height: 24
                    color: cellArea.containsMouse || cell.index === root.currentSelect ? Skin.colorOrange : root.bgColor
                    border.width: cell.activeFocus ? 1 : 0
                    border.color: Skin.fontColor
                    activeFocusOnTab: cell.textValue !== ""

                    Accessible.role: Accessible.ListItem
                    Accessible.name: cell.textValue
                    Accessible.selectable: true
                    Accessible.selected: cell.index === root.currentSelect
                    Accessible.focusable: true
                    Accessible.onPressAction: cell.choose()
                    Keys.onSpacePressed: cell.choose()
                    Keys.onReturnPressed: cell.choose()
                    Keys.onEnterPressed: cell.choose()

                    Text {
                        anchors.centerIn: parent
                        text: cell.textValue
                        color: Skin.fontColor
                        font.family: Skin.fontFamily
                        font.pixelSize: Skin.fontNormalSize
                    }

                    MouseArea {
                        id: cellArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: cell.choose()
                    }
                }
            }
        }
    }

    // 180 ms less 10 ms per entry; never negative for long lists.
    NumberAnimation {
        id: dropAnimation
        target: dropArea
        property: "height"
        duration: Math.max(0, 180 - 10 * root.itemCount)
        easing.type: Easing.OutQuad
    }
}
