#include "gui/PortalHotKeys.h"

#include "gui/PortalShortcut.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QList>
#include <QVariantMap>

namespace lv {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// A dictionary argument arrives either demarshalled or still as D-Bus data.
QVariantMap MapOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        QVariantMap map;
        value.value<QDBusArgument>() >> map;
        return map;
    }
    return value.toMap();
}

// An object path sent as a path or, as the session handle is for historical reasons, a string.
QString PathOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    return value.toString();
}

QList<portal::Shortcut> ShortcutsOf(const QVariant& value) {
    QList<portal::Shortcut> shortcuts;
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        value.value<QDBusArgument>() >> shortcuts;
    }
    return shortcuts;
}

// The part of a request handle that names this connection: its unique name without the
// leading ':' and with '_' for '.'.
QString SenderPart(const QDBusConnection& bus) {
    QString name = bus.baseService();
    if (name.startsWith(QLatin1Char(':'))) {
        name.remove(0, 1);
    }
    return name.replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

std::unique_ptr<PortalGlobalHotKeys> PortalGlobalHotKeys::Open(const QDBusConnection& bus,
                                                               const QString& appId) {
    if (!bus.isConnected()) {
        return nullptr;
    }
    qDBusRegisterMetaType<portal::Shortcut>();
    qDBusRegisterMetaType<QList<portal::Shortcut>>();
    // Newer portals learn a program's name from it, before any other call; older ones do not
    // know the call, which is fine.
    QDBusMessage registry = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    registry << appId << QVariantMap();
    bus.asyncCall(registry);
    QDBusMessage version = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    version << kInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(version, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return nullptr;
    }
    return std::unique_ptr<PortalGlobalHotKeys>(new PortalGlobalHotKeys(bus));
}

PortalGlobalHotKeys::PortalGlobalHotKeys(const QDBusConnection& bus) : bus_(bus) {
    bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                 SLOT(OnActivated(QDBusMessage)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ShortcutsChanged"), this,
                 SLOT(OnShortcutsChanged(QDBusMessage)));
}

PortalGlobalHotKeys::~PortalGlobalHotKeys() {
    CloseSession();
    bus_.disconnect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                    SLOT(OnActivated(QDBusMessage)));
    bus_.disconnect(kService, kPath, kInterface, QStringLiteral("ShortcutsChanged"), this,
                    SLOT(OnShortcutsChanged(QDBusMessage)));
    if (!requestPath_.isEmpty()) {
        bus_.disconnect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                        SLOT(OnResponse(QDBusMessage)));
    }
}

bool PortalGlobalHotKeys::Register(int id, int modifiers, int virtualKey) {
    const std::string trigger = ShortcutTriggerOf(modifiers, virtualKey);
    if (trigger.empty()) {
        return false;
    }
    const auto described = descriptions_.find(id);
    wishes_[id] = {trigger,
                   described != descriptions_.end() ? described->second : "Linkvane hotkey"};
    held_.erase(id);
    ScheduleBind();
    return true;
}

void PortalGlobalHotKeys::Unregister(int id) {
    if (wishes_.erase(id) != 0) {
        held_.erase(id);
        ScheduleBind();
    }
}

std::string PortalGlobalHotKeys::NoteText() const {
    return kPortalHotKeysText;
}

bool PortalGlobalHotKeys::Holds(int id) const {
    return held_.count(id) != 0;
}

void PortalGlobalHotKeys::Describe(int id, const std::string& text) {
    descriptions_[id] = text;
}

std::string PortalGlobalHotKeys::HeldTrigger(int id) const {
    const auto found = held_.find(id);
    return found != held_.end() ? found->second : std::string();
}

void PortalGlobalHotKeys::ScheduleBind() {
    // The six keys of a start-up, or of the dialog's Save, go to the portal as one set.
    if (!bindQueued_) {
        bindQueued_ = true;
        QMetaObject::invokeMethod(
            this, [this] { Rebind(); }, Qt::QueuedConnection);
    }
}

void PortalGlobalHotKeys::Rebind() {
    bindQueued_ = false;
    if (step_ != Step::Idle) {
        dirty_ = true; // bound again once the portal has answered the call under way
        return;
    }
    dirty_ = false;
    // A session's keys are bound once; another set takes a session of its own.
    CloseSession();
    held_.clear();
    if (wishes_.empty()) {
        HoldingsChanged();
        return;
    }
    step_ = Step::Creating;
    QVariantMap options;
    options.insert(
        QStringLiteral("session_handle_token"),
        QStringLiteral("linkvane%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial_));
    if (!Request(QStringLiteral("CreateSession"), {options}, QStringLiteral("handle_token"))) {
        Failed();
    }
}

void PortalGlobalHotKeys::Bind() {
    step_ = Step::Binding;
    QList<portal::Shortcut> shortcuts;
    for (const auto& [id, wish] : wishes_) {
        QVariantMap properties;
        properties.insert(QStringLiteral("description"), QString::fromStdString(wish.description));
        properties.insert(QStringLiteral("preferred_trigger"),
                          QString::fromStdString(wish.trigger));
        shortcuts.append({QString::number(id), properties});
    }
    if (!Request(QStringLiteral("BindShortcuts"),
                 {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
                  QString(), QVariantMap()},
                 QStringLiteral("handle_token"))) {
        Failed();
    }
}

bool PortalGlobalHotKeys::Request(const QString& method, QList<QVariant> arguments,
                                  const QString& tokenKey) {
    const QString token =
        QStringLiteral("linkvane%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial_);
    QVariantMap options = MapOf(arguments.back());
    options.insert(tokenKey, token);
    arguments.back() = options;
    // The answer comes as a signal on the request's object, whose path the token fixes: listen
    // before asking, so that a quick answer is not missed.
    requestPath_ = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                       .arg(SenderPart(bus_), token);
    if (!bus_.connect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                      SLOT(OnResponse(QDBusMessage)))) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    const QString expected = requestPath_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, expected](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (requestPath_ != expected) {
                    return; // answered already, or given up
                }
                if (reply.isError()) {
                    Failed();
                    return;
                }
                // An older portal may choose another path than the token gives.
                const QString handle = reply.value().path();
                if (handle != expected) {
                    bus_.disconnect(kService, expected, kRequestInterface,
                                    QStringLiteral("Response"), this,
                                    SLOT(OnResponse(QDBusMessage)));
                    requestPath_ = handle;
                    bus_.connect(kService, handle, kRequestInterface, QStringLiteral("Response"),
                                 this, SLOT(OnResponse(QDBusMessage)));
                }
            });
    return true;
}

void PortalGlobalHotKeys::OnResponse(const QDBusMessage& message) {
    if (message.path() != requestPath_ || step_ == Step::Idle) {
        return;
    }
    bus_.disconnect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(OnResponse(QDBusMessage)));
    requestPath_.clear();
    const QList<QVariant> arguments = message.arguments();
    const bool granted = arguments.size() >= 2 && arguments[0].toUInt() == 0;
    const QVariantMap results = arguments.size() >= 2 ? MapOf(arguments[1]) : QVariantMap();
    if (!granted) {
        Failed(); // the user said no, or the portal could not
        return;
    }
    if (step_ == Step::Creating) {
        session_ = PathOf(results.value(QStringLiteral("session_handle")));
        if (session_.isEmpty()) {
            Failed();
            return;
        }
        bus_.connect(kService, session_, kSessionInterface, QStringLiteral("Closed"), this,
                     SLOT(OnSessionClosed(QDBusMessage)));
        if (dirty_) {
            step_ = Step::Idle;
            Rebind();
        } else {
            Bind();
        }
        return;
    }
    step_ = Step::Idle;
    const auto shortcuts = results.constFind(QStringLiteral("shortcuts"));
    if (shortcuts == results.constEnd()) {
        // Granted without a list: every key asked for, as asked.
        for (const auto& [id, wish] : wishes_) {
            held_[id] = wish.trigger;
        }
    } else {
        TakeBound(*shortcuts);
    }
    HoldingsChanged();
    if (dirty_) {
        Rebind();
    }
}

void PortalGlobalHotKeys::TakeBound(const QVariant& shortcuts) {
    held_.clear();
    for (const portal::Shortcut& shortcut : ShortcutsOf(shortcuts)) {
        bool number = false;
        const int id = shortcut.id.toInt(&number);
        if (!number || wishes_.count(id) == 0) {
            continue;
        }
        const QString trigger =
            shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        held_[id] = trigger.isEmpty() ? wishes_[id].trigger : trigger.toStdString();
    }
}

void PortalGlobalHotKeys::Failed() {
    if (!requestPath_.isEmpty()) {
        bus_.disconnect(kService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                        SLOT(OnResponse(QDBusMessage)));
        requestPath_.clear();
    }
    CloseSession();
    held_.clear();
    step_ = Step::Idle;
    HoldingsChanged();
    if (dirty_) {
        Rebind(); // the keys changed meanwhile: the new set is asked for once
    }
}

void PortalGlobalHotKeys::CloseSession() {
    if (session_.isEmpty()) {
        return;
    }
    bus_.disconnect(kService, session_, kSessionInterface, QStringLiteral("Closed"), this,
                    SLOT(OnSessionClosed(QDBusMessage)));
    bus_.asyncCall(QDBusMessage::createMethodCall(kService, session_, kSessionInterface,
                                                  QStringLiteral("Close")));
    session_.clear();
}

void PortalGlobalHotKeys::OnActivated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || session_.isEmpty() || PathOf(arguments[0]) != session_) {
        return;
    }
    bool number = false;
    const int id = arguments[1].toString().toInt(&number);
    if (number && Holds(id)) {
        Deliver(id);
    }
}

void PortalGlobalHotKeys::OnShortcutsChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || session_.isEmpty() || PathOf(arguments[0]) != session_) {
        return;
    }
    // The user changed or removed keys in the desktop's own settings.
    TakeBound(arguments[1]);
    HoldingsChanged();
}

void PortalGlobalHotKeys::OnSessionClosed(const QDBusMessage& message) {
    if (message.path() != session_) {
        return;
    }
    bus_.disconnect(kService, session_, kSessionInterface, QStringLiteral("Closed"), this,
                    SLOT(OnSessionClosed(QDBusMessage)));
    session_.clear();
    held_.clear();
    HoldingsChanged();
}

} // namespace lv
