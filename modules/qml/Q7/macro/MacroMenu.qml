pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A context menu of the macro editor: rows of 24 with the entries' texts. It
// takes the keyboard when shown; the arrows move, Enter or Space chooses,
// Escape dismisses it.
Rectangle {
    id: menu

    property list<string> entries
    property int highlighted: 0
    signal chosen(int index)
    signal dismissed

    height: 24 * menu.entries.length + 2
    z: 5
    color: Skin.colorGray0
    border.width: 1
    border.color: Skin.colorGray1

    Accessible.role: Accessible.PopupMenu

    onVisibleChanged: {
        menu.highlighted = 0
        if (menu.visible)
            menu.forceActiveFocus()
    }
    Keys.onUpPressed: menu.highlighted = Math.max(0, menu.highlighted - 1)
    Keys.onDownPressed: menu.highlighted = Math.min(menu.entries.length - 1, menu.highlighted + 1)
    Keys.onReturnPressed: menu.chosen(menu.highlighted)
    Keys.onEnterPressed: menu.chosen(menu.highlighted)
    Keys.onSpacePressed: menu.chosen(menu.highlighted)
    Keys.onEscapePressed: menu.dismissed()

    Column {
        x: 1
        y: 1
        Repeater {
            model: menu.entries

            Rectangle {
                id: menuRow

                required property int index
                required property string modelData

                objectName: "menuRow" + menuRow.index
                width: menu.width - 2
                height: 24
                color: menuArea.containsMouse || (menu.activeFocus && menu.highlighted === menuRow.index)
                       ? Skin.colorOrange : "transparent"

                Accessible.role: Accessible.MenuItem
                Accessible.name: menuRow.modelData
                Accessible.onPressAction: menu.chosen(menuRow.index)

                Label {
                    x: 8
                    width: parent.width - 16
                    height: parent.height
                    text: menuRow.modelData
                    Accessible.ignored: true
                }

                MouseArea {
                    id: menuArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.chosen(menuRow.index)
                }
            }
        }
    }
}
