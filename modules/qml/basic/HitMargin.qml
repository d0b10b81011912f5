pragma ComponentBehavior: Bound
import QtQuick

// A control's click area grown by margin pixels on every side: given as the
// control's containmentMask, presses that land just beside it count.
QtObject {
    required property Item target
    property real margin: 0

    function contains(point: point): bool {
        return point.x >= -margin && point.y >= -margin && point.x < target.width + margin
               && point.y < target.height + margin
    }
}
