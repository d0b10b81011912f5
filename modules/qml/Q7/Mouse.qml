pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The mouse picture of the main window: a top view of the mouse, placed so
// that each button sits at or next to the anchor of its numbered mark, with a
// short leader line from the anchor to the button where the two are apart.
// The page covers the whole window and is transparent; the marks go on top of
// it at the anchors below.
Item {
    id: root

    property int keyCount: 8
    property int selectKey: -1
    // The marks shown: one per button below keyCount, at most the eight drawn.
    readonly property int visibleMarks: Math.max(0, Math.min(root.keyCount, root.marks.length))

    // A mark was clicked or pressed with Space/Enter (the shell opens the
    // assignment dialog for it), or the pointer entered or left it (the shell
    // selects it, which also lights the list's row).
    signal markClicked(int index)
    signal markEntered(int index)
    signal markExited(int index)

    // Per button 0..7: the mark's anchor (x, y; the 48 × 24 mark sits 48 to
    // its left and 12 above) and the end of the leader line on the button
    // (tx, ty; equal to the anchor where the mark lies on the button).
    readonly property var marks: [
        { x: 370, y: 132, tx: 420, ty: 140 }, // left button
        { x: 562, y: 132, tx: 562, ty: 132 }, // right button
        { x: 512, y: 104, tx: 512, ty: 140 }, // wheel
        { x: 368, y: 296, tx: 400, ty: 296 }, // side, forward
        { x: 368, y: 354, tx: 400, ty: 354 }, // side, back
        { x: 515, y: 285, tx: 515, ty: 285 }, // behind the wheel, front
        { x: 515, y: 315, tx: 515, ty: 315 }, // behind the wheel, rear
        { x: 368, y: 229, tx: 394, ty: 229 }  // side, front
    ]

    width: 1024
    height: 640

    Image {
        id: picture
        objectName: "picture"
        x: 384
        y: 88
        width: 272
        height: 496
        sourceSize.width: 272
        sourceSize.height: 496
        source: Skin.image("mouse")
        Accessible.role: Accessible.Graphic
        Accessible.name: "Mouse"
    }

    Repeater {
        model: root.marks

        // A line of the leader's length from the anchor, turned towards the
        // button; orange for the selected button.
        Rectangle {
            id: leader
            required property var modelData
            required property int index
            readonly property real dx: leader.modelData.tx - leader.modelData.x
            readonly property real dy: leader.modelData.ty - leader.modelData.y

            objectName: "leader" + leader.index
            visible: leader.index < root.visibleMarks && (leader.dx !== 0 || leader.dy !== 0)
            x: leader.modelData.x
            y: leader.modelData.y - 0.5
            width: Math.sqrt(leader.dx * leader.dx + leader.dy * leader.dy)
            height: 1
            transformOrigin: Item.Left
            rotation: Math.atan2(leader.dy, leader.dx) * 180 / Math.PI
            antialiasing: true
            color: leader.index === root.selectKey ? Skin.colorOrange : Skin.colorGray2
        }
    }

    // The numbered marks "1".."8": a 48 × 24 box 48 left of and 12 above its
    // anchor, orange while hovered, focused or selected.
    Repeater {
        model: root.marks

        Rectangle {
            id: mark
            required property var modelData
            required property int index
            readonly property bool lit: mark.index === root.selectKey || markArea.containsMouse || mark.activeFocus

            objectName: "mark" + mark.index
            visible: mark.index < root.visibleMarks
            x: mark.modelData.x - 48
            y: mark.modelData.y - 12
            width: 48
            height: 24
            radius: 4
            color: mark.lit ? Skin.colorOrange : Skin.colorGray0
            border.width: 1
            border.color: mark.lit ? Skin.colorOrange : Skin.colorGray2
            activeFocusOnTab: mark.visible

            Accessible.role: Accessible.Button
            Accessible.name: "Button " + (mark.index + 1)
            Accessible.focusable: true
            Accessible.onPressAction: root.markClicked(mark.index)
            Keys.onSpacePressed: root.markClicked(mark.index)
            Keys.onReturnPressed: root.markClicked(mark.index)
            Keys.onEnterPressed: root.markClicked(mark.index)

            Text {
                anchors.centerIn: parent
                text: String(mark.index + 1)
                color: Skin.fontColor
                font.family: Skin.fontFamily
                font.pixelSize: Skin.fontNormalSize
                Accessible.ignored: true
            }
            MouseArea {
                id: markArea
                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: root.markClicked(mark.index)
                onEntered: root.markEntered(mark.index)
                onExited: root.markExited(mark.index)
            }
        }
    }
}
