pragma ComponentBehavior: Bound
import QtQuick

// The frame every device page draws: a dark panel with a thin border, its
// title in a bar along the top with an accent line below it, and for dialogs
// a close button at the bar's right end. The page fills it with its controls.
Rectangle {
    id: frame

    property string title: ""
    property bool closable: false
    property int titleHeight: 40
    // The small boxes' look: a filled title strip, its text nearer the edge
    // and larger, no accent line.
    property color titleColor: "transparent"
    property bool accentLine: true
    property int titleX: 16
    property int titleSize: Skin.fontNormalSize

    signal closeClicked

    color: Skin.colorGray0
    border.width: 1
    border.color: Skin.colorGray1

    Rectangle {
        width: frame.width
        height: frame.titleHeight
        radius: frame.radius
        color: frame.titleColor
    }

    Text {
        x: frame.titleX
        height: frame.titleHeight
        verticalAlignment: Text.AlignVCenter
        text: frame.title
        color: Skin.fontColor
        font.family: Skin.fontFamily
        font.pixelSize: frame.titleSize

        Accessible.role: Accessible.StaticText
        Accessible.name: frame.title
    }

    Rectangle {
        visible: frame.accentLine
        x: 1
        y: frame.titleHeight
        width: frame.width - 2
        height: 1
        color: Skin.colorOrange
    }

    // The skin's close picture, lit under the pointer or with the focus.
    IconButton {
        id: closeButton
        // Only a frame that closes has one to find.
        objectName: frame.closable ? "closeButton" : ""
        visible: frame.closable
        enabled: frame.closable
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: (frame.titleHeight - closeButton.height) / 2
        image: "dlgClose"
        accessibleName: "Close"
        onClicked: frame.closeClicked()
    }
}
