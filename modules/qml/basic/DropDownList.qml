pragma ComponentBehavior: Bound
import QtQuick

// A field showing the selected entry of mdItems that drops down a list of
// 24-pixel rows, ten of them visible at most, with a scroll bar beyond that.
// Choosing a row selects it and closes the list; valueChange goes out once
// the list has closed, so the page acts on a settled control.
DropField {
    id: root

    property ListModel mdItems: ListModel {}
    property int currentSelect: 0

    // A page may leave the list without a model for a while.
    readonly property int itemCount: root.mdItems ? root.mdItems.count : 0
    // At most this many rows show at once; longer lists scroll.
    property int maxRows: 10
    readonly property int listHeight: 24 * Math.min(root.maxRows, root.itemCount)
    readonly property bool hasScrollBar: root.itemCount > root.maxRows
    // The row chosen while open, reported when the closing animation ends.
    property int pendingChoice: -1

    signal btnClick
    signal valueChange(int index)

    function closeMenu() {
        root.isDrop = false
    }

    // A click while the list opens or closes is ignored; the signal goes out
    // on every click.
    function fieldClicked() {
        root.btnClick()
        if (!dropAnimation.running)
            root.isDrop = !root.isDrop
    }

    // Only an open list takes a choice: rows still showing while it closes
    // do not.
    function choose(index) {
        if (!root.isDrop || index < 0 || index >= root.itemCount)
            return
        root.currentSelect = index
        root.pendingChoice = index
        root.closeMenu()
    }

    function reportChoice() {
        var index = root.pendingChoice
        root.pendingChoice = -1
        if (index >= 0)
            root.valueChange(index)
    }

    // Enter chooses the highlighted row of an open list, otherwise it opens it.
    function enterPressed() {
        if (root.isDrop && list.currentIndex >= 0)
            root.choose(list.currentIndex)
        else
            root.fieldClicked()
    }

    function moveHighlight(step, event) {
        if (!root.isDrop || root.itemCount === 0) {
            event.accepted = false
            return
        }
        list.currentIndex = Math.max(0, Math.min(root.itemCount - 1, list.currentIndex + step))
        list.positionViewAtIndex(list.currentIndex, ListView.Contain)
    }

    function refreshText() {
        var model = root.mdItems
        var inRange = model !== null && root.currentSelect >= 0 && root.currentSelect < model.count
        root.textValue = inRange ? model.get(root.currentSelect).textValue : ""
    }

    onClicked: root.fieldClicked()
    onKeyActivated: root.enterPressed()
    Keys.onUpPressed: event => root.moveHighlight(-1, event)
    Keys.onDownPressed: event => root.moveHighlight(1, event)
    Keys.onEscapePressed: event => {
        event.accepted = root.isDrop
        root.closeMenu()
    }

    onCurrentSelectChanged: root.refreshText()
    onMdItemsChanged: root.refreshText()
    // The shown entry renamed, or entries added or removed: the field shows
    // what the model holds now.
    Connections {
        target: root.mdItems
        function onDataChanged() {
            root.refreshText()
        }
        function onCountChanged() {
            root.refreshText()
        }
    }
    onIsDropChanged: {
        // A choice whose closing was cut short by reopening is still reported.
        if (root.isDrop) {
            root.reportChoice()
            var inRange = root.currentSelect >= 0 && root.currentSelect < root.itemCount
            list.currentIndex = inRange ? root.currentSelect : -1
            if (list.currentIndex >= 0)
                list.positionViewAtIndex(list.currentIndex, ListView.Contain)
        }
        dropAnimation.to = root.isDrop ? root.listHeight : 0
        dropAnimation.restart()
    }
    onListHeightChanged: {
        if (root.isDrop && !dropAnimation.running)
            dropArea.height = root.listHeight
    }
    Component.onCompleted: {
        root.refreshText()
        dropArea.height = root.isDrop ? root.listHeight : 0
    }

    Rectangle {
        id: dropArea
        objectName: "dropArea"
        y: root.height
        width: root.width
        height: 0
        visible: dropArea.height > 0
        clip: true
        color: root.bgColor
        border.width: 1
        border.color: root.borderColor

        ListView {
            id: list
            objectName: "list"
            width: root.width
            height: root.listHeight
            boundsBehavior: Flickable.StopAtBounds
            interactive: root.hasScrollBar
            currentIndex: -1
            model: root.mdItems

            delegate: Rectangle {
                id: row

                required property int index
                required property string textValue

                objectName: "row" + row.index
                width: list.width - (root.hasScrollBar ? scrollBar.width : 0)
                height: 24
                color: rowArea.containsMouse || row.index === root.currentSelect ? Skin.colorOrange : "transparent"
                border.width: row.index === list.currentIndex ? 1 : 0
                border.color: Skin.fontColor

                Accessible.role: Accessible.ListItem
                Accessible.name: row.textValue
                Accessible.selectable: true
                Accessible.selected: row.index === root.currentSelect
                Accessible.onPressAction: root.choose(row.index)

                Text {
                    anchors.centerIn: parent
                    text: row.textValue
                    color: Skin.fontColor
                    font.family: Skin.fontFamily
                    font.pixelSize: Skin.fontNormalSize
                }

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: root.choose(row.index)
                }
            }
        }

        // The scroll bar: the handle follows the list, and pressing or
        // dragging on the track scrolls the list to that place.
        Rectangle {
            id: scrollBar
            objectName: "scrollBar"
            anchors.right: parent.right
            width: 6
            height: root.listHeight
            visible: root.hasScrollBar
            color: Skin.colorGray1

            // The handle's middle goes to the pointer, within the list's ends.
            function scrollTo(y) {
                var top = (y - handle.height / 2) / scrollBar.height * list.contentHeight
                list.contentY = Math.max(0, Math.min(list.contentHeight - list.height, top))
            }

            Rectangle {
                id: handle
                objectName: "scrollHandle"
                width: parent.width
                y: list.visibleArea.yPosition * scrollBar.height
                height: list.visibleArea.heightRatio * scrollBar.height
                radius: 3
                color: Skin.colorGray3
            }

            MouseArea {
                anchors.fill: parent
                onPressed: mouse => scrollBar.scrollTo(mouse.y)
                onPositionChanged: mouse => scrollBar.scrollTo(mouse.y)
            }
        }
    }

    // 180 ms less 5 ms per entry; never negative for long lists.
    NumberAnimation {
        id: dropAnimation
        target: dropArea
        property: "height"
        duration: Math.max(0, 180 - 5 * root.itemCount)
        easing.type: Easing.OutQuad
        onFinished: {
            if (!root.isDrop)
                root.reportChoice()
        }
    }
}
