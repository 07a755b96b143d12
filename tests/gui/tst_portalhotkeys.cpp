// Global hotkeys through the desktop's GlobalShortcuts portal, against a scripted portal on a
// private message bus (a dbus-daemon of the test's own, reached over a socket in its folder).
#include "gui/PortalHotKeys.h"
#include "gui/PortalShortcut.h"

#include "support/TempDir.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <fstream>
#include <memory>
#include <vector>

namespace {

using lv::portal::Shortcut;

const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// The portal's side: answers CreateSession and BindShortcuts the way the test sets, records
// what it was asked, and sends signals when the test says so. It lives on a thread of its own,
// as a real portal lives in a process of its own.
class ScriptedPortal : public QDBusVirtualObject {
public:
    enum class Answer { Grant, Refuse, Silent };

    explicit ScriptedPortal(QDBusConnection bus) : bus_(std::move(bus)) {}

    // How the next BindShortcuts is answered. Granted ids get their trigger description;
    // ids left out of the map are not granted.
    void Script(Answer answer, QMap<QString, QString> granted) {
        QMutexLocker lock(&mutex_);
        bindAnswer_ = answer;
        granted_ = std::move(granted);
    }
    void Reset() {
        QMutexLocker lock(&mutex_);
        seen_ = {};
    }

    struct Seen {
        int sessions = 0;
        std::vector<QList<Shortcut>> binds;
        QStringList closed;
        QString session;
    };
    Seen seen() {
        QMutexLocker lock(&mutex_);
        return seen_;
    }

    void SendSignal(const QString& name, const QList<QVariant>& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(kPortalPath, kInterface, name);
        signal.setArguments(arguments);
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        const QList<QVariant> arguments = message.arguments();
        if (member == QLatin1String("Get")) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(2u))));
        } else if (member == QLatin1String("Register")) {
            connection.send(message.createReply());
        } else if (member == QLatin1String("Close")) {
            QMutexLocker lock(&mutex_);
            seen_.closed << message.path();
            connection.send(message.createReply());
        } else if (member == QLatin1String("CreateSession")) {
            const QVariantMap options = MapOf(arguments.value(0));
            const QString session =
                QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                    .arg(SenderPart(message.service()),
                         options.value(QStringLiteral("session_handle_token")).toString());
            {
                QMutexLocker lock(&mutex_);
                ++seen_.sessions;
                seen_.session = session;
            }
            Respond(message, options, 0, {{QStringLiteral("session_handle"), session}});
        } else if (member == QLatin1String("BindShortcuts")) {
            QList<Shortcut> shortcuts;
            arguments.value(1).value<QDBusArgument>() >> shortcuts;
            Answer answer = Answer::Grant;
            QList<Shortcut> granted;
            {
                QMutexLocker lock(&mutex_);
                seen_.binds.push_back(shortcuts);
                answer = bindAnswer_;
                for (const Shortcut& shortcut : shortcuts) {
                    if (granted_.contains(shortcut.id)) {
                        granted.append({shortcut.id,
                                        {{QStringLiteral("trigger_description"),
                                          granted_.value(shortcut.id)}}});
                    }
                }
            }
            const QVariantMap options = MapOf(arguments.value(3));
            if (answer == Answer::Refuse) {
                Respond(message, options, 1, {});
            } else if (answer == Answer::Silent) {
                Respond(message, options, -1, {});
            } else {
                Respond(message, options, 0,
                        {{QStringLiteral("shortcuts"), QVariant::fromValue(granted)}});
            }
        } else {
            return false;
        }
        return true;
    }

private:
    static QVariantMap MapOf(const QVariant& value) {
        QVariantMap map;
        value.value<QDBusArgument>() >> map;
        return map;
    }
    static QString SenderPart(QString name) {
        return name.remove(0, 1).replace(QLatin1Char('.'), QLatin1Char('_'));
    }
    // The call's reply is its request's path; the result follows as that request's signal
    // (none for a response below 0: a portal that never answers).
    void Respond(const QDBusMessage& call, const QVariantMap& options, int response,
                 const QVariantMap& results) {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(SenderPart(call.service()),
                                         options.value(QStringLiteral("handle_token")).toString());
        bus_.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (response < 0) {
            return;
        }
        QDBusMessage signal = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << static_cast<unsigned>(response) << results;
        bus_.send(signal);
    }

    QDBusConnection bus_;
    QMutex mutex_;
    Seen seen_;
    Answer bindAnswer_ = Answer::Grant;
    QMap<QString, QString> granted_;
};

} // namespace

class TestPortalHotKeys : public QObject {
    Q_OBJECT

private:
    lvtest::TempDir dir_;
    QProcess daemon_;
    QString address_;
    QThread portalThread_;
    std::unique_ptr<ScriptedPortal> portal_;
    int connections_ = 0;

    QDBusConnection Connect(const QString& name) {
        return QDBusConnection::connectToBus(address_, name + QString::number(++connections_));
    }

    // The scripted portal, taking the portal's name on the bus (once; later tests get it
    // back with nothing seen and granting keys 1 and 2).
    ScriptedPortal& StartPortal() {
        if (portal_ == nullptr) {
            QDBusConnection bus = Connect(QStringLiteral("portal"));
            portal_ = std::make_unique<ScriptedPortal>(bus);
            // Registered first: the bus gives the object a helper of its own thread, which
            // moves along with it.
            bus.registerVirtualObject(kPortalPath, portal_.get(), QDBusConnection::SubPath);
            portal_->moveToThread(&portalThread_);
            bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        }
        portal_->Reset();
        portal_->Script(ScriptedPortal::Answer::Grant,
                        {{QStringLiteral("1"), QStringLiteral("Ctrl+Alt+F10")},
                         {QStringLiteral("2"), QStringLiteral("Ctrl+Alt+F9")}});
        return *portal_;
    }

private slots:
    void initTestCase() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty()) {
            QSKIP("dbus-daemon is not installed");
        }
        const std::string config = dir_.File("bus.conf");
        std::ofstream(config)
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>unix:dir="
            << dir_.Path().string()
            << "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
               "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
        daemon_.start(program, {QStringLiteral("--config-file=") + QString::fromStdString(config),
                                QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY2(daemon_.waitForStarted(5000), "dbus-daemon did not start");
        QTRY_VERIFY_WITH_TIMEOUT(daemon_.canReadLine(), 10000);
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QVERIFY(!address_.isEmpty());
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        portalThread_.start();
    }

    void cleanupTestCase() {
        portalThread_.quit();
        portalThread_.wait();
        portal_.reset();
        daemon_.kill();
        daemon_.waitForFinished();
    }

    // No portal on the bus: nothing to use, and no long wait to find that out.
    void withoutAPortalThereIsNone() {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(lv::PortalGlobalHotKeys::Open(Connect(QStringLiteral("app")),
                                              QStringLiteral("linkvane")) == nullptr);
        QVERIFY(timer.elapsed() < 1500);
    }

    // The keys of one round go to the portal together, with their descriptions and the keys
    // asked for; they count once granted, and a press arrives as the key's id.
    void keysAreBoundTogetherAndDelivered() {
        ScriptedPortal& portal = StartPortal();
        auto keys = lv::PortalGlobalHotKeys::Open(Connect(QStringLiteral("app")),
                                                  QStringLiteral("linkvane"));
        QVERIFY(keys != nullptr);
        QVERIFY(keys->Available());
        int changes = 0;
        std::vector<int> pressed;
        keys->SetHoldingsHandler([&] { ++changes; });
        keys->SetHandler([&](int id) { pressed.push_back(id); });
        const int ctrlAlt = lv::kHotKeyCtrl | lv::kHotKeyAlt;
        keys->Describe(1, "Show Linkvane");
        QVERIFY(keys->Register(1, ctrlAlt, 0x79));
        QVERIFY(keys->Register(2, ctrlAlt, 0x78));
        QVERIFY(!keys->Register(3, ctrlAlt, 0x7C)); // F13 is not a key of the table
        QVERIFY(!keys->Holds(1));
        QTRY_COMPARE(changes, 1);
        QVERIFY(keys->Holds(1));
        QVERIFY(keys->Holds(2));
        QCOMPARE(keys->HeldTrigger(1), std::string("Ctrl+Alt+F10"));
        const ScriptedPortal::Seen seen = portal.seen();
        QCOMPARE(seen.sessions, 1);
        QCOMPARE(int(seen.binds.size()), 1);
        const QList<Shortcut>& bound = seen.binds[0];
        QCOMPARE(bound.size(), 2);
        QCOMPARE(bound[0].id, QStringLiteral("1"));
        QCOMPARE(bound[0].properties.value(QStringLiteral("description")).toString(),
                 QStringLiteral("Show Linkvane"));
        QCOMPARE(bound[0].properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("CTRL+ALT+F10"));
        QCOMPARE(bound[1].properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("CTRL+ALT+F9"));
        QCOMPARE(keys->SessionPath(), seen.session);

        // A press in another session is someone else's.
        QMetaObject::invokeMethod(&portal, [&portal] {
            portal.SendSignal(
                QStringLiteral("Activated"),
                {QVariant::fromValue(
                     QDBusObjectPath("/org/freedesktop/portal/desktop/session/x/other")),
                 QStringLiteral("2"), QVariant::fromValue(qulonglong(1)), QVariantMap()});
        });
        const QString session = seen.session;
        QMetaObject::invokeMethod(&portal, [&portal, session] {
            portal.SendSignal(QStringLiteral("Activated"),
                              {QVariant::fromValue(QDBusObjectPath(session)), QStringLiteral("1"),
                               QVariant::fromValue(qulonglong(2)), QVariantMap()});
        });
        QTRY_COMPARE(pressed.size(), std::size_t(1));
        QCOMPARE(pressed[0], 1);

        // A change of keys is bound in a new session; the old one is closed.
        keys->Unregister(2);
        QTRY_COMPARE(int(portal.seen().binds.size()), 2);
        QTRY_COMPARE(changes, 2);
        QVERIFY(keys->Holds(1));
        QVERIFY(!keys->Holds(2));
        QCOMPARE(portal.seen().closed, QStringList{session});
        QCOMPARE(portal.seen().binds[1].size(), 1);
        QVERIFY(keys->SessionPath() != session);

        // The user takes the key away in the desktop's settings.
        const QString now = keys->SessionPath();
        QMetaObject::invokeMethod(&portal, [&portal, now] {
            portal.SendSignal(QStringLiteral("ShortcutsChanged"),
                              {QVariant::fromValue(QDBusObjectPath(now)),
                               QVariant::fromValue(QList<Shortcut>{})});
        });
        QTRY_COMPARE(changes, 3);
        QVERIFY(!keys->Holds(1));
    }

    // Keys the portal leaves out, a refusal and a portal that never answers: nothing is held,
    // and nothing waits.
    void keysThePortalDoesNotGrantAreNotHeld() {
        ScriptedPortal& portal = StartPortal();
        auto keys = lv::PortalGlobalHotKeys::Open(Connect(QStringLiteral("app")),
                                                  QStringLiteral("linkvane"));
        QVERIFY(keys != nullptr);
        int changes = 0;
        keys->SetHoldingsHandler([&] { ++changes; });
        const int ctrl = lv::kHotKeyCtrl;
        keys->Register(1, ctrl, 0x41);
        keys->Register(7, ctrl, 0x42); // not among the granted
        QTRY_COMPARE(changes, 1);
        QVERIFY(keys->Holds(1));
        QVERIFY(!keys->Holds(7));

        portal.Script(ScriptedPortal::Answer::Refuse, {});
        keys->Register(2, ctrl, 0x43);
        QTRY_COMPARE(changes, 2);
        QVERIFY(!keys->Holds(1));
        QVERIFY(!keys->Holds(2));

        portal.Script(ScriptedPortal::Answer::Silent, {});
        QElapsedTimer timer;
        timer.start();
        keys->Register(2, ctrl, 0x44);
        QVERIFY(timer.elapsed() < 500);
        const std::size_t binds = portal.seen().binds.size();
        QTRY_COMPARE(portal.seen().binds.size(), binds + 1);
        QTest::qWait(200);
        QVERIFY(!keys->Holds(1));
        QVERIFY(!keys->Holds(2));
    }
};

QTEST_GUILESS_MAIN(TestPortalHotKeys)
#include "tst_portalhotkeys.moc"
