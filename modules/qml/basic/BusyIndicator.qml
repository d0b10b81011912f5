pragma ComponentBehavior: Bound
import QtQuick

// The busy shield's sign: a small dark panel with a pulsing text, shown only
// while the program talks to the mouse. The pulse runs only while shown, so
// a hidden indicator costs no frames.
Item {
    id: root

    property string textValue: "LOADING ......"
    property bool isBusy: false
    // Shown also while held: the work the busy action started goes on.
    property bool held: false
    readonly property bool pulsing: pulse.running


    function setBusy(busy) {
        root.isBusy = busy
    }

    width: 200
    height: 56
    visible: root.isBusy || root.held

    Accessible.role: Accessible.StaticText
    Accessible.name: root.textValue

    Rectangle {
        objectName: "panel"
        anchors.fill: parent
        radius: 8
        color: Skin.colorGray0
        opacity: 0.92
        border.width: 1
        border.color: Skin.colorGray1

        // The accent line under the text.
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            width: parent.width - 48
            height: 2
            radius: 1
            color: Skin.colorOrange
            opacity: label.opacity
        }
    }

    Text {
        id: label
        objectName: "label"
        anchors.centerIn: parent
        text: root.textValue
        color: Skin.fontColor
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontMiddleSize

        SequentialAnimation on opacity {
            id: pulse
            running: root.visible
            loops: Animation.Infinite
            alwaysRunToEnd: false
            NumberAnimation {
                from: 1.0
                to: 0.2
                duration: 400
            }
            NumberAnimation {
                from: 0.2
                to: 1.0
                duration: 400
            }
        }
    }
}
