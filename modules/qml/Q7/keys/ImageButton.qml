pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// One of the skin's pictures as a button, lit under the pointer or with the
// focus.
Image {
    id: button

    property string picture: ""
    property string accessibleName: ""
    readonly property bool lit: buttonArea.containsMouse || button.activeFocus

    signal clicked

    width: 16
    height: 16
    sourceSize.width: 16
    sourceSize.height: 16
    source: Skin.image(button.picture + (button.lit && button.picture !== "check" ? "_hover" : ""))
    activeFocusOnTab: true
    opacity: button.lit || button.picture !== "check" ? 1 : 0.8

    Accessible.role: Accessible.Button
    Accessible.name: button.accessibleName
    Accessible.focusable: true
    Accessible.onPressAction: button.clicked()
    Keys.onSpacePressed: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()

    MouseArea {
        id: buttonArea
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: button.clicked()
    }
}
