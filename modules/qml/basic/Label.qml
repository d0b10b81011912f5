pragma ComponentBehavior: Bound
import QtQuick

// A text a user reads (a title, a value, a list entry), in the skin's font,
// exposed to screen readers under its own text.
Text {
    color: Skin.fontColor
    font.family: Skin.fontFamily
    font.pixelSize: Skin.fontNormalSize
    elide: Text.ElideRight
    verticalAlignment: Text.AlignVCenter

    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
