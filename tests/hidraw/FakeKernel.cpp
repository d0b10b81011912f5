// The kernel side of the fake hidraw devices (see FakeHidraw.cpp): it lays out
// the mouse's sysfs tree as Linux shows a USB HID device, one hidraw node per
// interface, and serves the nodes' sockets with the virtual mouse's firmware.
// Both come from the data folder's apConfig.bin, as the virtual mouse does.
//
//   fake_hidraw_kernel SOCKET SYSFS DATA [--reordered] [--deny] [--vanish-after N]
//
// SYSFS is where the tree goes (/sys inside a private mount namespace).
// --reordered puts a boot-mouse interface with two top-level collections
// first and the event interface before the command interface. --deny refuses
// every open of a node with EACCES. --vanish-after N: the device goes away
// when the Nth command-interface transfer arrives; that transfer fails.
//
// On SOCKET, besides the preload's "open N" and "access N": "press S" presses
// the DPI button (answers ok or no: no event interface is open), "vanish"
// removes the device, "quit" prints what the firmware saw as JSON and exits,
// 0 when it met no protocol error.

#include "DataPaths.h"
#include "DeviceDescription.h"
#include "HidBackend.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "VirtualMouseSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <linux/hidraw.h>
#include <linux/ioctl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

enum class Kind { Command, Event, Other };

struct Node
{
    Kind kind;
    QByteArray descriptor;
};

struct Open
{
    int conn;
    int data;
    Kind kind;
    HidHandle* handle;
};

void le16(QByteArray& d, int v)
{
    d.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}

// A vendor collection with unnumbered reports of the given lengths (0: none).
QByteArray vendorCollection(quint16 page, quint16 usage, int feature, int output, int input)
{
    QByteArray d("\x06", 1);
    le16(d, page);
    d.append('\x0a');
    le16(d, usage);
    d.append(QByteArray::fromHex("a101150026ff007508"));
    const struct
    {
        int count;
        const char* mainItem; // usage, then Feature / Output / Input (Data, Var, Abs)
    } reports[] = {{feature, "0901b102"}, {output, "09029102"}, {input, "09038102"}};
    for (const auto& r : reports) {
        if (r.count == 0)
            continue;
        d.append('\x96');
        le16(d, r.count);
        d.append(QByteArray::fromHex(r.mainItem));
    }
    return d.append('\xc0');
}

// A boot mouse (report 1) and a consumer control (report 2): what many mice
// show on their first interface.
const QByteArray bootMouse = QByteArray::fromHex("05010902a10185010901a1000509190129031500250195037501810295017505"
                                                 "81030501093009311581257f750895028106c0c0050c0901a1018502150026ff"
                                                 "0319002aff03751095018100c0");

class Kernel
{
public:
    Kernel(VirtualMouse& mouse, QString sysfs, const QString& name, bool reordered)
        : m_mouse(mouse)
        , m_backend({&mouse})
        , m_sysfs(std::move(sysfs))
        , m_name(name.toUtf8())
    {
        const DeviceRecord& r = mouse.record();
        const Node command{Kind::Command,
                           vendorCollection(r.usagePage, r.usage, 8, mouse.reportLength(), mouse.reportLength())};
        const Node event{Kind::Event, vendorCollection(r.usagePage2, r.usage2, 0, 0, 4)};
        m_nodes =
            reordered ? std::vector<Node>{{Kind::Other, bootMouse}, event, command} : std::vector<Node>{command, event};
    }

    bool writeTree() const
    {
        const QString name = QString::fromUtf8(m_name);
        const DeviceRecord& r = m_mouse.record();
        const QString id =
            QStringLiteral("%1:%2").arg(r.vid, 4, 16, QLatin1Char('0')).arg(r.pid, 4, 16, QLatin1Char('0'));
        const QString usb = m_sysfs + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-1");
        bool ok = file(usb + "/uevent", "DEVTYPE=usb_device\nDRIVER=usb\nBUSNUM=001\nDEVNUM=002\n") &&
                  link("/sys/bus/usb", usb + "/subsystem") && file(usb + "/idVendor", id.left(4).toLatin1()) &&
                  file(usb + "/idProduct", id.mid(5).toLatin1()) && file(usb + "/manufacturer", "TALVORN") &&
                  file(usb + "/product", name.toUtf8()) && file(usb + "/bcdDevice", "0100");
        for (std::size_t i = 0; i < m_nodes.size(); ++i) {
            const QString iface = usb + QStringLiteral("/1-1:1.%1").arg(i);
            const QString hid =
                iface + QStringLiteral("/0003:%1.%2").arg(id.toUpper()).arg(i + 1, 4, 10, QLatin1Char('0'));
            const QString raw = hid + QStringLiteral("/hidraw/hidraw%1").arg(i);
            const QByteArray uevent = QStringLiteral("DRIVER=hid-generic\nHID_ID=0003:0000%1:0000%2\nHID_NAME=%3\n"
                                                     "HID_PHYS=usb-0000:00:14.0-1/input%4\nHID_UNIQ=\n")
                                          .arg(id.left(4).toUpper(), id.mid(5).toUpper(), name)
                                          .arg(i)
                                          .toUtf8();
            ok = ok && file(iface + "/uevent", "DEVTYPE=usb_interface\nDRIVER=usbhid\nINTERFACE=3/0/0\n") &&
                 link("/sys/bus/usb", iface + "/subsystem") &&
                 file(iface + "/bInterfaceNumber", QByteArray::number(int(i)).rightJustified(2, '0')) &&
                 file(hid + "/uevent", uevent) && link("/sys/bus/hid", hid + "/subsystem") &&
                 file(hid + "/report_descriptor", m_nodes[i].descriptor) &&
                 file(raw + "/uevent", QStringLiteral("MAJOR=243\nMINOR=%1\nDEVNAME=hidraw%1\n").arg(i).toLatin1()) &&
                 file(raw + "/dev", QStringLiteral("243:%1\n").arg(i).toLatin1()) &&
                 link("/sys/class/hidraw", raw + "/subsystem") && link("../..", raw + "/device") &&
                 QDir().mkpath(m_sysfs + "/class/hidraw") &&
                 link(QDir(m_sysfs + "/class/hidraw").relativeFilePath(raw),
                      m_sysfs + QStringLiteral("/class/hidraw/hidraw%1").arg(i));
        }
        return ok && QDir().mkpath(m_sysfs + "/bus/usb/devices") && QDir().mkpath(m_sysfs + "/bus/hid/devices");
    }

    int run(int listener, bool deny, int vanishAfter)
    {
        m_deny = deny;
        m_vanishAfter = vanishAfter;
        while (!m_quit) {
            std::vector<pollfd> fds{{listener, POLLIN, 0}};
            for (const Open& o : m_opens) {
                fds.push_back({o.conn, POLLIN, 0});
                fds.push_back({o.data, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
                return 2;
            // Back to front: serving one may drop it, or (vanishing) all.
            for (std::size_t i = (fds.size() - 1) / 2; i-- > 0;) {
                if (i >= m_opens.size())
                    continue;
                if (fds[1 + 2 * i].revents)
                    serveIoctl(i);
                else if (fds[2 + 2 * i].revents)
                    serveWrite(i);
            }
            if (fds[0].revents & POLLIN)
                accept(listener);
            deliverInput();
        }
        return report();
    }

private:
    static bool file(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    static bool link(const QString& target, const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        return ::symlink(target.toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0;
    }

    static void answer(int conn, int result, const QByteArray& bytes = {})
    {
        const auto r = std::int32_t(result);
        const QByteArray reply = QByteArray(reinterpret_cast<const char*>(&r), sizeof r) + bytes;
        ::send(conn, reply.constData(), std::size_t(reply.size()), MSG_NOSIGNAL);
    }

    void accept(int listener)
    {
        const int conn = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0)
            return;
        char text[64] = {};
        int passed = -1;
        iovec iov{text, sizeof text - 1};
        alignas(cmsghdr) char space[CMSG_SPACE(sizeof(int))] = {};
        msghdr msg{};
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = space;
        msg.msg_controllen = sizeof space;
        if (::recvmsg(conn, &msg, MSG_CMSG_CLOEXEC) > 0) {
            if (cmsghdr* c = CMSG_FIRSTHDR(&msg); c && c->cmsg_type == SCM_RIGHTS)
                std::memcpy(&passed, CMSG_DATA(c), sizeof passed);
        }
        int n = -1;
        if (std::sscanf(text, "open %d", &n) == 1 || std::sscanf(text, "access %d", &n) == 1) {
            const int error = m_gone || n < 0 || std::size_t(n) >= m_nodes.size() ? ENOENT : m_deny ? EACCES : 0;
            answer(conn, error);
            if (error == 0 && passed >= 0 && text[0] == 'o') {
                const Kind kind = m_nodes[std::size_t(n)].kind;
                HidHandle* handle =
                    kind == Kind::Other
                        ? nullptr
                        : m_backend.open(kind == Kind::Command ? m_mouse.commandPath() : m_mouse.eventPath(),
                                         kind == Kind::Command ? HidRole::Command : HidRole::Event);
                m_opens.push_back({conn, passed, kind, handle});
                m_openNodes.push_back(n);
                m_openCounts[QString::number(n)] = m_openCounts[QString::number(n)].toInt() + 1;
                return;
            }
        } else if (std::sscanf(text, "press %d", &n) == 1) {
            const bool pressed = m_mouse.pressDpiButton(n);
            ::send(conn, pressed ? "ok" : "no", 2, MSG_NOSIGNAL);
        } else if (std::strcmp(text, "vanish") == 0) {
            vanish();
            ::send(conn, "ok", 2, MSG_NOSIGNAL);
        } else if (std::strcmp(text, "quit") == 0) {
            m_quit = true;
        }
        if (passed >= 0)
            ::close(passed);
        ::close(conn);
    }

    // Counts a command-interface transfer; false when it is the one the
    // device goes away at.
    bool transfer(const Open& o)
    {
        if (o.kind != Kind::Command || m_vanishAfter <= 0 || ++m_transfers < m_vanishAfter)
            return true;
        vanish();
        return false;
    }

    void serveIoctl(std::size_t i)
    {
        const Open o = m_opens[i];
        QByteArray request(4 + 4 + HID_MAX_DESCRIPTOR_SIZE, '\0');
        const ssize_t n = ::recv(o.conn, request.data(), std::size_t(request.size()), 0);
        if (n <= 0)
            return drop(i);
        request.truncate(n);
        std::uint32_t code = 0;
        std::memcpy(&code, request.constData(), sizeof code);
        QByteArray arg = request.mid(4);
        auto* bytes = reinterpret_cast<std::uint8_t*>(arg.data());
        const QByteArray& descriptor = m_nodes[std::size_t(m_openNodes[i])].descriptor;
        int result = 0;
        switch (_IOC_NR(code)) {
        case _IOC_NR(HIDIOCGRDESCSIZE): {
            const int size = int(descriptor.size());
            std::memcpy(bytes, &size, sizeof size);
            break;
        }
        case _IOC_NR(HIDIOCGRDESC): {
            std::uint32_t size = 0;
            std::memcpy(&size, bytes, sizeof size);
            if (size > HID_MAX_DESCRIPTOR_SIZE - 1)
                result = -EINVAL;
            else
                std::memcpy(bytes + 4, descriptor.constData(), std::min<std::size_t>(size, descriptor.size()));
            break;
        }
        case _IOC_NR(HIDIOCGRAWINFO): {
            const hidraw_devinfo info{3, std::int16_t(m_mouse.record().vid), std::int16_t(m_mouse.record().pid)};
            std::memcpy(bytes, &info, sizeof info);
            break;
        }
        case 0x04: // HIDIOCGRAWNAME(len), HIDIOCGRAWPHYS(len): as much as fits, with the terminating zero
        case 0x05: {
            const QByteArray text =
                _IOC_NR(code) == 0x04 ? m_name : "usb-0000:00:14.0-1/input" + QByteArray::number(m_openNodes[i]);
            result = int(std::min<qsizetype>(text.size() + 1, arg.size()));
            std::memcpy(bytes, text.constData(), std::size_t(std::min<qsizetype>(text.size(), result)));
            if (result > text.size())
                bytes[text.size()] = 0;
            break;
        }
        case 0x06: // HIDIOCSFEATURE(len), HIDIOCGFEATURE(len)
        case 0x07:
            if (!transfer(o))
                return;
            result = _IOC_NR(code) == 0x06 ? m_backend.sendFeatureReport(o.handle, bytes, std::size_t(arg.size()))
                                           : m_backend.getFeatureReport(o.handle, bytes, std::size_t(arg.size()));
            if (result < 0)
                result = -EPIPE;
            break;
        default:
            result = -ENOTTY;
        }
        answer(o.conn, result, arg);
    }

    void serveWrite(std::size_t i)
    {
        const Open o = m_opens[i];
        QByteArray report(4096, '\0');
        const ssize_t n = ::recv(o.data, report.data(), std::size_t(report.size()), MSG_DONTWAIT);
        if (n <= 0)
            return drop(i);
        if (!transfer(o))
            return;
        const int result =
            o.handle
                ? m_backend.write(o.handle, reinterpret_cast<const std::uint8_t*>(report.constData()), std::size_t(n))
                : int(n);
        answer(o.conn, result < 0 ? -EPIPE : result);
    }

    // What the firmware queued for each open interface goes to its socket.
    void deliverInput()
    {
        for (const Open& o : m_opens) {
            std::uint8_t report[256];
            int n = 0;
            while (o.handle && (n = m_backend.readTimeout(o.handle, report, sizeof report, 0)) > 0)
                ::send(o.data, report, std::size_t(n), MSG_DONTWAIT | MSG_NOSIGNAL);
        }
    }

    void drop(std::size_t i)
    {
        const Open o = m_opens[i];
        if (o.handle)
            m_backend.close(o.handle);
        ::close(o.conn);
        ::close(o.data);
        m_opens.erase(m_opens.begin() + qsizetype(i));
        m_openNodes.erase(m_openNodes.begin() + qsizetype(i));
    }

    // The device is unplugged: its nodes leave sysfs, and every open one
    // stops working.
    void vanish()
    {
        m_gone = true;
        QDir(m_sysfs + "/devices/pci0000:00/0000:00:14.0/usb1/1-1").removeRecursively();
        QDir(m_sysfs + "/class/hidraw").removeRecursively();
        while (!m_opens.empty())
            drop(m_opens.size() - 1);
    }

    int report() const
    {
        QJsonObject out;
        out[QStringLiteral("protocolErrors")] = m_mouse.protocolErrors();
        out[QStringLiteral("messages")] = QJsonArray::fromStringList(m_mouse.protocolErrorMessages());
        out[QStringLiteral("opens")] = m_openCounts;
        out[QStringLiteral("state")] = m_mouse.stateJson();
        std::printf("%s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
        return m_mouse.protocolErrors() == 0 ? 0 : 1;
    }

    VirtualMouse& m_mouse;
    VirtualHidBackend m_backend;
    QString m_sysfs;
    QByteArray m_name;
    std::vector<Node> m_nodes;
    std::vector<Open> m_opens;
    std::vector<int> m_openNodes; // the node of each entry of m_opens
    QJsonObject m_openCounts;
    bool m_deny = false;
    bool m_gone = false;
    bool m_quit = false;
    int m_vanishAfter = 0;
    int m_transfers = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: fake_hidraw_kernel SOCKET SYSFS DATA [--reordered] [--deny] [--vanish-after N]\n");
        return 2;
    }
    const int vanishAt = args.indexOf(QStringLiteral("--vanish-after"));
    if (!QDir::setCurrent(args.at(3)))
        return 2;
    const std::unique_ptr<VirtualMouse> mouse = VirtualMouseSetup::fromConfig();
    if (!mouse)
        return 2;
    Kernel kernel(*mouse, args.at(2), DeviceDescription::readProductName(DataPath::apConfig),
                  args.contains(QStringLiteral("--reordered")));
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    const QByteArray address = args.at(1).toLocal8Bit();
    std::strncpy(sa.sun_path, address.constData(), sizeof sa.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (!kernel.writeTree() || ::bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listener, 16) != 0) {
        std::fprintf(stderr, "fake_hidraw_kernel: cannot lay out %s or listen on %s\n", qPrintable(args.at(2)),
                     address.constData());
        return 2;
    }
    return kernel.run(listener, args.contains(QStringLiteral("--deny")),
                      vanishAt > 0 ? args.value(vanishAt + 1).toInt() : 0);
}
