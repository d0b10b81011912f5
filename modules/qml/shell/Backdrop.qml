pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The window's frame behind the pages: the rounded background, the title
// strip with its accent line, the logo, and whether a mouse is connected.
Item {
    id: root

    property bool connected: false
    property string connectedText: ""
    property string disconnectedText: ""

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: Skin.colorBackground
        border.color: Skin.colorGray1
    }

    Rectangle {
        id: titleBar
        x: 1
        y: 1
        width: parent.width - 2
        height: 48
        radius: 10
        color: Skin.colorTitle

        Rectangle {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            height: 2
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0.0; color: Skin.colorOrange }
                GradientStop { position: 0.6; color: Qt.darker(Skin.colorOrange, 1.6) }
                GradientStop { position: 1.0; color: "transparent" }
            }
        }
    }

    Image {
        id: logo
        x: 36
        y: 12
        source: Skin.image("logo")
        sourceSize.width: 150
        sourceSize.height: 28
        Accessible.role: Accessible.Graphic
        Accessible.name: "Skarn"
    }

    // Whether a mouse is connected, beside the logo.
    Row {
        objectName: "connectionSign"
        x: 232
        y: 18
        spacing: 8
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 8
            height: 8
            radius: 4
            color: root.connected ? "#3fb950" : Skin.colorGray2
        }
        Label {
            text: root.connected ? root.connectedText : root.disconnectedText
            color: Skin.colorGray3
        }
    }
}
