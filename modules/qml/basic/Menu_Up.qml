pragma ComponentBehavior: Bound
import QtQuick

// The top bar: the question-mark, minimise and close buttons in a row, and
// left of them the profile list over the profile page's entries. The bar
// only reports what the user chose; the shell acts on it.
Item {
    id: root

    property ListModel profileModel: null
    property alias profileList: profileList

    // The buttons' spoken names; the shell gives those of its language.
    property string minimizeName: "Minimise"
    property string closeName: "Close"
    // The profile list takes no choice while the pages wait.
    property bool profilesLocked: false

    signal helpClicked
    signal minimizeClicked
    signal closeClicked
    signal profileChosen(int index)

    width: buttons.width
    height: 24

    DropDownList {
        id: profileList
        objectName: "profileList"
        x: -16 - profileList.width
        width: 144
        height: 24
        mdItems: root.profileModel
        enabled: !root.profilesLocked
        onValueChange: index => root.profileChosen(index)
    }

    Row {
        id: buttons
        anchors.verticalCenter: parent.verticalCenter
        spacing: 16

        IconButton {
            objectName: "helpButton"
            accessibleName: "Help"
            image: "help"
            onClicked: root.helpClicked()
        }
        IconButton {
            objectName: "minimizeButton"
            accessibleName: root.minimizeName
            image: "min"
            onClicked: root.minimizeClicked()
        }
        IconButton {
            objectName: "closeButton"
            accessibleName: root.closeName
            image: "close"
            onClicked: root.closeClicked()
        }
    }
}
