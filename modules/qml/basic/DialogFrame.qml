pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import modules.qml

// A dialog of the window: the page frame with its title and close image,
// over the shell's mask. A press on its background ends the page's edits
// (backgroundPressed) and a drag moves it, kept whole inside the window.
// Open, it holds the keyboard: the focus goes to its first control (or
// firstControl), Tab and Shift+Tab stay inside, Escape does what the close
// image does, and when it closes the focus goes back to the item that had it
// before. Assistive technology hears a dialog named by its title.
//
// The page's controls are its children, placed from its top-left corner as
// on the frame. The shell's mask, not the dialog, dims and holds the window
// behind it: a press there still moves the window.
T.Dialog {
    id: frame

    property bool closable: true
    property int titleHeight: 40
    // The small boxes' look (see PageFrame).
    property color titleColor: "transparent"
    property bool accentLine: true
    property int titleX: 16
    property int titleSize: Skin.fontNormalSize
    property real radius: 0
    // The control that takes the focus when the dialog opens; by default the
    // first one Tab reaches.
    property Item firstControl: null
    // The area the dialog stays inside: its parent's.
    property real windowWidth: frame.parent ? frame.parent.width : frame.width
    property real windowHeight: frame.parent ? frame.parent.height : frame.height
    // The item that had the focus when the dialog opened.
    property Item opener: null
    // The dialog's controls, built in the dialog when it first opens and
    // kept: the page keeps its state itself, so that it works while they do
    // not exist. (A Loader cannot build a component of a file whose
    // components are bound, so the frame builds it.)
    property Component controls: null
    property Item controlsItem: null

    // The close image or Escape.
    signal closeClicked
    signal backgroundPressed

    padding: 0
    focus: true
    modal: false
    closePolicy: T.Popup.NoAutoClose

    // The content's own scope: Escape is the close image.
    component Scope: FocusScope {
        Accessible.role: Accessible.Dialog
        Accessible.name: frame.title
        Keys.onEscapePressed: function (event) {
            event.accepted = true
            frame.closeClicked()
        }
    }

    // The background: a press ends the page's edits, a drag moves the dialog.
    component DragArea: MouseArea {
        id: dragArea
        objectName: "dragArea"
        property point pressedAt

        onPressed: function (mouse) {
            frame.backgroundPressed()
            dragArea.pressedAt = Qt.point(mouse.x, mouse.y)
        }
        onPositionChanged: function (mouse) {
            frame.x = Shell.clampToWindow(frame.x + mouse.x - dragArea.pressedAt.x, frame.width, frame.windowWidth)
            frame.y = Shell.clampToWindow(frame.y + mouse.y - dragArea.pressedAt.y, frame.height, frame.windowHeight)
        }
    }

    onAboutToShow: {
        frame.opener = frame.contentItem.Window.activeFocusItem
        frame.build()
    }

    function build() {
        if (frame.controls && !frame.controlsItem)
            frame.controlsItem = frame.controls.createObject(frame.contentItem)
    }

    onOpened: {
        var target = frame.firstControl ?? (frame.contentItem.nextItemInFocusChain(true) as Item)
        if (target)
            target.forceActiveFocus()
    }
    onClosed: {
        var back = frame.opener
        frame.opener = null
        if (back && back.visible && back.enabled)
            back.forceActiveFocus()
    }

    contentItem: Scope {}

    background: Item {
        DragArea {
            anchors.fill: parent
        }
        PageFrame {
            anchors.fill: parent
            title: frame.title
            titleHeight: frame.titleHeight
            titleColor: frame.titleColor
            accentLine: frame.accentLine
            titleX: frame.titleX
            titleSize: frame.titleSize
            radius: frame.radius
            closable: frame.closable
            onCloseClicked: frame.closeClicked()
        }
    }
}
