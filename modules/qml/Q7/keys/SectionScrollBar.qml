pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The sections' scroll bar: the handle follows the flickable; pressing or
// dragging on the track asks to scroll there (scrollTo, in content pixels).
Rectangle {
    id: scrollBar

    required property Flickable flick

    signal scrollTo(real contentY)

    readonly property real range: Math.max(1, scrollBar.flick.contentHeight - scrollBar.flick.height)

    function dragTo(y) {
        var ratio = (y - handle.height / 2) / (scrollBar.height - handle.height)
        scrollBar.scrollTo(ratio * scrollBar.range)
    }

    width: 6
    height: scrollBar.flick.height
    radius: 3
    color: Skin.colorGray1

    Accessible.role: Accessible.ScrollBar
    Accessible.name: "Scroll"

    Rectangle {
        id: handle
        objectName: "scrollHandle"
        width: parent.width
        height: scrollBar.height * scrollBar.flick.height / Math.max(1, scrollBar.flick.contentHeight)
        y: scrollBar.flick.contentY / scrollBar.range * (scrollBar.height - handle.height)
        radius: 3
        color: Skin.colorOrange
    }
    MouseArea {
        anchors.fill: parent
        anchors.margins: -3
        onPressed: mouse => scrollBar.dragTo(mouse.y)
        onPositionChanged: mouse => scrollBar.dragTo(mouse.y)
    }
}
