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

    signal helpClicked
    signal minimizeClicked
    signal closeClicked
    signal profileChosen(int index)

    // A 16-pixel button drawn in QML, so it is sharp at any scale: a round
    // backdrop that lights up in the accent colour under the pointer or with
    // the keyboard focus, and the glyph's strokes on it.
    component GlyphButton: Item {
        id: button

        property string name: ""
        readonly property bool lit: area.containsMouse || button.activeFocus
        default property alias glyph: face.data

        signal clicked

        width: 16
        height: 16
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: button.name
        Accessible.focusable: true
        Accessible.onPressAction: button.clicked()
        Keys.onSpacePressed: button.clicked()
        Keys.onReturnPressed: button.clicked()
        Keys.onEnterPressed: button.clicked()

        Rectangle {
            id: face
            objectName: "face"
            anchors.fill: parent
            radius: width / 2
            color: button.lit ? root.colorOrange : "transparent"
            border.width: 1
            border.color: button.lit ? root.colorOrange : root.colorGray3
        }

        MouseArea {
            id: area
            anchors.fill: parent
            anchors.margins: -4
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }

    component Stroke: Rectangle {
        width: 8
        height: 1.5
        radius: 0.75
        antialiasing: true
        color: root.fontColor
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

        GlyphButton {
            objectName: "helpButton"
            name: "Help"
            onClicked: root.helpClicked()

            Text {
                anchors.centerIn: parent
                text: "?"
                color: root.fontColor
                font.family: root.fontFamily
                font.pixelSize: 11
                font.bold: true
            }
        }

        GlyphButton {
            objectName: "minimizeButton"
            name: "Minimise"
            onClicked: root.minimizeClicked()

            Stroke {
                anchors.centerIn: parent
            }
        }

        GlyphButton {
            objectName: "closeButton"
            name: "Close"
            onClicked: root.closeClicked()

            Stroke {
                anchors.centerIn: parent
                rotation: 45
            }
            Stroke {
                anchors.centerIn: parent
                rotation: -45
            }
        }
    }
}
