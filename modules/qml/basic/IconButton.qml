pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// An image button of the skin: image is the picture's name ("help", "close",
// ...); under the pointer or with the keyboard focus it shows image +
// "_hover" where the skin has that picture. Space presses it; clicked comes
// from the button itself.
T.AbstractButton {
    id: root

    property string image: ""
    // The name a screen reader says ("Close", "Help").
    property string accessibleName: ""
    // The skin's pictures with a lit variant.
    readonly property var litImages: ["back", "close", "dlgClose", "help", "min", "reset"]
    readonly property bool lit: (root.hovered || root.visualFocus || root.activeFocus)
                                && root.litImages.indexOf(root.image) >= 0

    implicitWidth: 16
    implicitHeight: 16
    padding: 0
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    text: root.accessibleName

    Accessible.role: Accessible.Button
    Accessible.name: root.accessibleName

    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()

    contentItem: Image {
        sourceSize.width: root.width
        sourceSize.height: root.height
        source: root.image === "" ? "" : Skin.image(root.lit ? root.image + "_hover" : root.image)
    }
    background: null

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
}
