pragma ComponentBehavior: Bound
import QtQuick

// The top bar: the question-mark, minimise and close buttons in a row, and
// left of them the profile list over the profile page's entries. The bar
// only reports what the user chose; the shell acts on it.
Item {
    id: root

    property ListModel profileModel: null
    property alias profileList: profileList

    // The skin's colours and font; a page may override them.
    property color colorGray0: Skin.colorGray0
    property color colorGray1: Skin.colorGray1
    property color colorGray3: Skin.colorGray3
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize
    // The buttons' spoken names; the shell gives those of its language.
    property string minimizeName: "Minimise"
    property string closeName: "Close"
    // The profile list takes no choice while the pages wait.
    property bool profilesLocked: false

    signal helpClicked
    signal minimizeClicked
    signal closeClicked
    signal profileChosen(int index)

    // A 16-pixel button drawn in QML, so it is sharp at any scale: a round
    // backdrop that lights up in the accent colour under the pointer or with
    // the keyboard focus, and the glyph's strokes on it.
    // An image button of the skin ("help", "min", "close"), lit (its
    // "_hover" picture) under the pointer or with the keyboard focus.
    component ImageButton: Image {
        id: button

        property string name: ""
        property string image: ""
        readonly property bool lit: area.containsMouse || button.activeFocus

        signal clicked

        width: 16
        height: 16
        sourceSize.width: 16
        sourceSize.height: 16
        source: Skin.image(button.lit ? button.image + "_hover" : button.image)
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: button.name
        Accessible.focusable: true
        Accessible.onPressAction: button.clicked()
        Keys.onSpacePressed: button.clicked()
        Keys.onReturnPressed: button.clicked()
        Keys.onEnterPressed: button.clicked()

        MouseArea {
            id: area
            anchors.fill: parent
            anchors.margins: -4
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: button.clicked()
        }
    }

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
        colorGray0: root.colorGray0
        colorGray1: root.colorGray1
        colorGray3: root.colorGray3
        colorOrange: root.colorOrange
        fontColor: root.fontColor
        fontFamily: root.fontFamily
        fontNormalSize: root.fontNormalSize
        onValueChange: index => root.profileChosen(index)
    }

    Row {
        id: buttons
        anchors.verticalCenter: parent.verticalCenter
        spacing: 16

        ImageButton {
            objectName: "helpButton"
            name: "Help"
            image: "help"
            onClicked: root.helpClicked()
        }
        ImageButton {
            objectName: "minimizeButton"
            name: root.minimizeName
            image: "min"
            onClicked: root.minimizeClicked()
        }
        ImageButton {
            objectName: "closeButton"
            name: root.closeName
            image: "close"
            onClicked: root.closeClicked()
        }
    }
}
