#pragma once

#include <QQuickWidget>
#include <QVariant>

#include <array>
#include <memory>

class Hid_Thread;
class QSettings;

// The QML host: loads the pages and carries the operations they call as
// ui_View. It keeps one settings object on apConfig.bin for its whole life and
// reads the device flags from it once, at construction.
//
// Calls into the QML root go by function name; a function the root does not
// have is skipped. GUI thread only.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget* parent = nullptr);
    ~myQQuickView() override;

    Hid_Thread* hid = nullptr; // set by the main window right after construction
    bool isColorful = false;
    bool isGun = false;
    QString icType; // "560" selects command set 560, anything else 553
    bool is55328 = false;
    bool is571 = false;
    // Command set 560: copies of the device's profile blocks 0..4.
    std::array<std::array<uchar, 128>, 5> profileImages{};

    // The store on apConfig.bin (replaced by resetApconfig()).
    QSettings* globalSettings() const { return m_global.get(); }

    // Calls the QML root's function name with args. Queued calls run on a
    // later event-loop pass, direct ones now. False when there is no root or
    // it has no function of that name taking that many arguments.
    bool callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type);

public Q_SLOTS:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    void mouseReadProfile(uint profileNo);
    QVariant getGlobalData(QVariant key);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void onStatusChanged(QQuickWidget::Status status);

    std::unique_ptr<QSettings> m_global;
    QMetaObject::Connection m_firstFrame;
};
