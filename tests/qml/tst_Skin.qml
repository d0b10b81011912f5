import QtQuick
import QtTest
import modules.qml

// The skin: every image it names loads at its size, the controls take their
// defaults from it, and the mouse picture page shows the picture with the
// leader lines of the buttons the mouse has.
TestCase {
    id: testCase
    name: "Skin"
    width: 1024
    height: 640
    when: windowShown
    visible: true

    function init() { failOnWarning(/./) }

    Component { id: imageComponent; Image {} }
    Component { id: mouseComponent; Mouse {} }

    // Each image at the size it is drawn for; an image missing from the
    // resources or the folder, or one that does not parse, never becomes Ready.
    function test_image_data() {
        return [
            { tag: "logo", w: 150, h: 28 },
            { tag: "powerOn", w: 320, h: 200 },
            { tag: "mouse", w: 272, h: 496 },
            { tag: "help", w: 16, h: 16 }, { tag: "help_hover", w: 16, h: 16 },
            { tag: "min", w: 16, h: 16 }, { tag: "min_hover", w: 16, h: 16 },
            { tag: "close", w: 16, h: 16 }, { tag: "close_hover", w: 16, h: 16 },
            { tag: "reset", w: 16, h: 16 }, { tag: "reset_hover", w: 16, h: 16 },
            { tag: "back", w: 16, h: 16 }, { tag: "back_hover", w: 16, h: 16 },
            { tag: "dlgClose", w: 16, h: 16 }, { tag: "dlgClose_hover", w: 16, h: 16 },
            { tag: "drop", w: 8, h: 5 }, { tag: "up", w: 8, h: 5 },
            { tag: "check", w: 12, h: 12 }, { tag: "slide", w: 12, h: 12 },
        ]
    }
    function test_image(row) {
        var image = createTemporaryObject(imageComponent, testCase, { source: Skin.image(row.tag) })
        tryCompare(image, "status", Image.Ready)
        compare([image.implicitWidth, image.implicitHeight], [row.w, row.h])
    }

    // The page and a control from the program's resources, where main.qml
    // finds them: the skin resolves there too, and so do its images.
    function test_fromResources() {
        var mouse = Qt.createComponent("qrc:/modules/qml/Q7/Mouse.qml")
        var check = Qt.createComponent("qrc:/modules/qml/basic/CheckBox.qml")
        compare([mouse.status, check.status], [Component.Ready, Component.Ready],
                mouse.errorString() + check.errorString())
        var picture = findChild(createTemporaryObject(mouse, testCase), "picture")
        tryCompare(picture, "status", Image.Ready)
        compare(String(picture.source), "qrc:/modules/qml/img/mouse.svg")
        var box = createTemporaryObject(check, testCase, { isSelect: true })
        tryCompare(findChild(box, "check"), "status", Image.Ready)
    }

    // A leader line for each button the mouse has, apart from those whose mark
    // lies on the button (right button, the two behind the wheel); orange for
    // the selected button.
    function test_mouse_data() {
        return [
            { tag: "eight buttons", keyCount: 8, selectKey: -1, shown: [0, 2, 3, 4, 7] },
            { tag: "five buttons", keyCount: 5, selectKey: 3, shown: [0, 2, 3, 4] },
            { tag: "none", keyCount: 0, selectKey: -1, shown: [] },
        ]
    }
    function test_mouse(row) {
        var page = createTemporaryObject(mouseComponent, testCase, { keyCount: row.keyCount, selectKey: row.selectKey })
        var picture = findChild(page, "picture")
        tryCompare(picture, "status", Image.Ready)
        compare([picture.x, picture.y, picture.width, picture.height], [384, 88, 272, 496])
        var shown = []
        for (var i = 0; i < 8; ++i) {
            var leader = findChild(page, "leader" + i)
            if (leader.visible)
                shown.push(i)
            compare(leader.color, i === row.selectKey ? Skin.colorOrange : Skin.colorGray2, "leader " + i)
        }
        compare(shown, row.shown)
    }
}
