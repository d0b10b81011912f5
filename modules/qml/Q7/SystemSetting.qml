pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The dialog for the desktop's pointer settings: cursor speed, double-click
// speed and the rows the wheel scrolls. The profile keeps the two sliders'
// knob positions and the rows (1000 for one screen); each change is stored
// and applied at once, the speeds when a knob comes to rest, the wheel when a
// choice is made or the rows input is left. The settings live here; the
// controls are built when the dialog first opens.
DialogFrame {
    id: root

    property var systemSettingLang: ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
        "Scroll Speed", "Number of Rows", "Scroll one Screen"]
    // The slider positions that bound the eleven steps.
    property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
    // The settings as shown: the knobs' positions, the wheel's choice and the
    // rows typed.
    property int mousePosition: SystemRules.defaultMouseRate
    property int doublePosition: SystemRules.defaultDoubleRate
    property bool oneScreen: false
    property string rowsText: "3"
    // Nothing waits to be stored: every change is stored at once.
    readonly property bool dirty: false
    readonly property SystemSettingBody body: loader.item as SystemSettingBody

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Loads the current profile's settings (the factory profile's with
    // isRecovery) into the controls; with isSendData stores them into the
    // current profile and applies all three. A value that is no number or out
    // of its range is shown, stored and applied as a sane one, and said on
    // the debug output.
    function init(isSendData, isRecovery) {
        root.mousePosition = root.loadPosition("mouse/mouseRate", isRecovery, SystemRules.defaultMouseRate)
        root.doublePosition = root.loadPosition("mouse/doubleRate", isRecovery, SystemRules.defaultDoubleRate)
        var stored = Program.view.getData("mouse/scrollRate", isRecovery)
        var lines = SystemRules.storedLines(stored)
        if (lines.problem !== "")
            console.debug("SystemSetting: mouse/scrollRate [" + stored + "] is " + lines.problem + ", taken as "
                          + lines.value)
        root.oneScreen = SystemRules.isOneScreen(lines.value)
        if (!root.oneScreen)
            root.rowsText = String(lines.value)
        if (root.body)
            root.body.show()
        if (isSendData)
            root.saveData(true, 0)
    }

    function loadPosition(key, isRecovery, fallback) {
        var stored = Program.view.getData(key, isRecovery)
        var position = SystemRules.storedPosition(stored, fallback)
        if (position.problem !== "")
            console.debug("SystemSetting: " + key + " [" + stored + "] is " + position.problem + ", taken as "
                          + position.value)
        return position.value
    }

    // Stores all three settings into the current profile; with isSendData
    // applies them: step 0 all three, 1 the cursor speed, 2 the double-click
    // speed, 3 the wheel.
    function saveData(isSendData, step) {
        var lines = root.scrollLines()
        Program.view.setData("mouse/mouseRate", root.mousePosition)
        Program.view.setData("mouse/doubleRate", root.doublePosition)
        Program.view.setData("mouse/scrollRate", lines)
        if (!isSendData)
            return
        var which = Number(step)
        if (which === 0 || which === 1)
            Program.view.mouseSetCursorSpeed(SystemRules.stepOf(root.mousePosition, root.compareValue))
        if (which === 0 || which === 2)
            Program.view.mouseSetDoubleClickSpeed(SystemRules.stepOf(root.doublePosition, root.compareValue))
        if (which === 0 || which === 3)
            Program.view.mouseSetVerticalScrollLines(lines)
    }

    function save() {
        root.saveData(true, 0)
    }

    // The rows typed (always 1..100, also while the input is being edited),
    // or one screen.
    function scrollLines() {
        return root.oneScreen ? SystemRules.oneScreen : SystemRules.typedRows(root.rowsText)
    }

    // A wheel choice is stored and applied; leaving the input, when it is
    // being edited, already does that with the new choice.
    function chooseScroll(oneScreen) {
        root.oneScreen = oneScreen
        if (!root.body || !root.body.endEdits())
            root.saveData(true, 3)
    }

    // The rows input ends: what is empty or below 1 becomes 1.
    function rowsEntered() {
        root.rowsText = String(SystemRules.typedRows(root.rowsText))
        root.saveData(true, 3)
    }

    // The factory settings, stored into the current profile and applied.
    function reset() {
        root.endEdits()
        root.init(true, true)
    }

    // Ends the rows input, which stores and applies it.
    function endEdits() {
        if (root.body)
            root.body.endEdits()
    }

    function systemSettingFocus() {
        root.endEdits()
    }

    function close() {
        root.endEdits()
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 416
    height: 312
    visible: false
    title: root.systemSettingLang[0]
    firstControl: root.body ? root.body.firstControl : null
    onCloseClicked: root.close()
    onBackgroundPressed: root.endEdits()
    // The controls, built when the dialog first opens, follow the settings
    // and hand every change back.
    onAboutToShow: {
        if (loader.status !== Loader.Null)
            return
        loader.setSource(Qt.resolvedUrl("system/SystemSettingBody.qml"), {
            texts: Qt.binding(() => root.systemSettingLang),
            compareValue: Qt.binding(() => root.compareValue),
            mousePosition: Qt.binding(() => root.mousePosition),
            doublePosition: Qt.binding(() => root.doublePosition),
            oneScreen: Qt.binding(() => root.oneScreen),
            rowsText: Qt.binding(() => root.rowsText)
        })
    }

    Loader {
        id: loader
        anchors.fill: parent
        onLoaded: {
            var body = loader.item as SystemSettingBody
            body.resetClicked.connect(root.reset)
            body.knobMoved.connect(function (step, position) {
                if (step === 1)
                    root.mousePosition = position
                else
                    root.doublePosition = position
                root.saveData(true, step)
            })
            body.scrollChosen.connect(root.chooseScroll)
            body.rowsTyped.connect(text => root.rowsText = text)
            body.rowsEntered.connect(root.rowsEntered)
        }
    }
}
