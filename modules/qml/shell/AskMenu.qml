pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The question-mark menu: the maker's web page (opens in the browser), the
// version, and the data folder (opens in the file manager). As wide as its
// longest text, growing to the left.
Rectangle {
    id: askMenu

    // The web page and the version shown when the language has none.
    property var entries: ["", "version:2.2"]
    // The version text of the language, and the data folder's with %1.
    property string versionText: ""
    property string folderText: ""
    // The widest the menu may be.
    property real maximumWidth: 708

    // 0 the web page, 1 the data folder.
    signal chosen(int cmd)

    function open(cmd) {
        askMenu.visible = false
        askMenu.chosen(cmd)
    }

    width: Math.min(askMenu.maximumWidth, Math.max(200, askColumn.textWidth + 2))
    height: askColumn.implicitHeight + 2
    visible: false
    color: Skin.colorGray0
    border.color: Skin.colorGray1

    Column {
        id: askColumn
        x: 1
        y: 1
        MenuEntry {
            id: urlEntry
            objectName: "urlEntry"
            width: askMenu.width - 2
            textValue: askMenu.entries[0]
            onClicked: askMenu.open(0)
        }
        // Information, not a button: no hover, no focus.
        Label {
            id: versionEntry
            objectName: "versionEntry"
            x: 8
            width: askMenu.width - 18
            height: 24
            text: askMenu.versionText !== "" ? askMenu.versionText : askMenu.entries[1]
            color: Skin.colorGray3
        }
        MenuEntry {
            id: folderEntry
            objectName: "folderEntry"
            width: askMenu.width - 2
            textValue: askMenu.visible ? askMenu.folderText.arg(Program.view.dataFolder()) : ""
            onClicked: askMenu.open(1)
        }
        // The column's width: the widest text with its margins.
        readonly property real textWidth: Math.max(urlEntry.textWidth, versionEntry.implicitWidth + 16,
                                                   folderEntry.textWidth)
    }
}
