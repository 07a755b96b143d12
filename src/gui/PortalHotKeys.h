#pragma once

#include "platform/GlobalHotKeys.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>

class QDBusMessage;

namespace lv {

inline constexpr const char* kPortalHotKeysText =
    "This desktop binds the keys itself: after \"Save and Close\" it may ask you to confirm "
    "them, or offer other keys. A key counts once the desktop has agreed.";

// Global hotkeys through the desktop's GlobalShortcuts portal (Wayland desktops, where no
// program may grab keys itself). The portal binds a whole set of keys in a session and usually
// asks the user to confirm them, so registrations are gathered, bound together in a fresh
// session once the caller is done, and held only once the portal has answered. Every call to
// the portal is asynchronous: a portal that never answers leaves the keys unheld, and nothing
// waits for it.
class PortalGlobalHotKeys : public QObject, public GlobalHotKeys {
    Q_OBJECT

public:
    // The portal on bus, or nullptr when the bus has no GlobalShortcuts portal (asked with a
    // bound of two seconds). appId names the program to a portal that asks for it.
    static std::unique_ptr<PortalGlobalHotKeys> Open(const QDBusConnection& bus,
                                                     const QString& appId);
    ~PortalGlobalHotKeys() override;

    bool Available() const override { return true; }
    std::string NoteText() const override;
    bool Register(int id, int modifiers, int virtualKey) override;
    void Unregister(int id) override;
    bool Holds(int id) const override;
    void Describe(int id, const std::string& text) override;

    // The keys the desktop reports for held ids ("Ctrl+Alt+F10"), as its answer named them.
    std::string HeldTrigger(int id) const;
    // The session the keys are bound in now, empty while none is.
    QString SessionPath() const { return session_; }

private slots:
    void OnResponse(const QDBusMessage& message);
    void OnActivated(const QDBusMessage& message);
    void OnShortcutsChanged(const QDBusMessage& message);
    void OnSessionClosed(const QDBusMessage& message);

private:
    enum class Step { Idle, Creating, Binding };
    struct Wish {
        std::string trigger;
        std::string description;
    };

    explicit PortalGlobalHotKeys(const QDBusConnection& bus);
    void ScheduleBind();
    void Rebind();
    void CloseSession();
    // Sends a portal call whose answer comes as a Request's Response signal; false when it
    // could not be sent.
    bool Request(const QString& method, QList<QVariant> arguments, const QString& tokenKey);
    void Bind();
    void TakeBound(const QVariant& shortcuts);
    void Failed();

    QDBusConnection bus_;
    std::map<int, Wish> wishes_;
    std::map<int, std::string> descriptions_;
    std::map<int, std::string> held_;
    QString session_;
    QString requestPath_;
    Step step_ = Step::Idle;
    bool bindQueued_ = false;
    bool dirty_ = false;
    unsigned serial_ = 0;
};

} // namespace lv
