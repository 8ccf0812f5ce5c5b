// The real program as a screen reader reaches it: over AT-SPI, on the accessibility
// bus of a session bus, with the dialog on an X server. CTest runs it under xvfb-run
// and dbus-run-session; without a display or that bus the test is skipped.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

// Bits of an AT-SPI state set.
constexpr int stateEnabled = 8;
constexpr int stateFocusable = 11;
constexpr int stateFocused = 12;
constexpr int statePressed = 20;

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

struct Node {
    QString service;
    QString path;
};

class Bus {
public:
    explicit Bus(QDBusConnection connection) : connection(std::move(connection)) {}

    QList<QVariant> call(const Node& node, const QString& interface, const QString& method,
                         const QList<QVariant>& arguments = {}) const {
        QDBusMessage message =
            QDBusMessage::createMethodCall(node.service, node.path, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = connection.call(message, QDBus::Block, 5000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments() : QList<QVariant>{};
    }

    QList<Node> children(const Node& node) const {
        const QList<QVariant> reply =
            call(node, accessibleInterface, QStringLiteral("GetChildren"));
        QList<Node> list;
        if (reply.isEmpty()) {
            return list;
        }
        const auto argument = reply.first().value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            QString service;
            QDBusObjectPath path;
            argument.beginStructure();
            argument >> service >> path;
            argument.endStructure();
            list.append({service, path.path()});
        }
        argument.endArray();
        return list;
    }

    QString name(const Node& node) const {
        const QList<QVariant> reply =
            call(node, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {accessibleInterface, QStringLiteral("Name")});
        return reply.isEmpty() ? QString()
                               : reply.first().value<QDBusVariant>().variant().toString();
    }

    QString roleName(const Node& node) const {
        const QList<QVariant> reply =
            call(node, accessibleInterface, QStringLiteral("GetRoleName"));
        return reply.isEmpty() ? QString() : reply.first().toString();
    }

    bool hasState(const Node& node, int bit) const {
        const QList<QVariant> reply = call(node, accessibleInterface, QStringLiteral("GetState"));
        if (reply.isEmpty()) {
            return false;
        }
        const auto words = qdbus_cast<QList<uint>>(reply.first().value<QDBusArgument>());
        return words.size() == 2 && (words[bit / 32] >> (bit % 32) & 1U) != 0;
    }

    bool grabFocus(const Node& node) const {
        const QList<QVariant> reply =
            call(node, QStringLiteral("org.a11y.atspi.Component"), QStringLiteral("GrabFocus"));
        return !reply.isEmpty() && reply.first().toBool();
    }

    bool doFirstAction(const Node& node) const {
        const QList<QVariant> reply =
            call(node, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("DoAction"), {0});
        return !reply.isEmpty() && reply.first().toBool();
    }
    // For an action that opens a message box: its reply comes once the box is answered.
    void startFirstAction(const Node& node) const {
        QDBusMessage message = QDBusMessage::createMethodCall(
            node.service, node.path, QStringLiteral("org.a11y.atspi.Action"),
            QStringLiteral("DoAction"));
        message.setArguments({0});
        connection.asyncCall(message, 30000);
    }

    // Every node under the root, depth first.
    void walk(const Node& root, const std::function<void(const Node&)>& visit) const {
        for (const Node& child : children(root)) {
            visit(child);
            walk(child, visit);
        }
    }

    QStringList services() const { return connection.interface()->registeredServiceNames(); }

private:
    QDBusConnection connection;
};

bool waitFor(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (condition()) {
            return true;
        }
        QThread::msleep(100);
    }
    return condition();
}

} // namespace

class AtspiTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    QProcess program;
    std::optional<Bus> bus;
    Node application;

    QList<Node> controls(const QStringList& roleNames) const {
        QList<Node> found;
        bus->walk(application, [&](const Node& node) {
            if (roleNames.contains(bus->roleName(node))) {
                found.append(node);
            }
        });
        return found;
    }
    std::optional<Node> control(const QString& roleName, const QString& name) const {
        for (const Node& node : controls({roleName})) {
            if (bus->name(node) == name) {
                return node;
            }
        }
        return std::nullopt;
    }

    // Whatever role it has: the test of its role is its own.
    std::optional<Node> inputButton() const {
        const std::optional<Node> asButton = control(QStringLiteral("push button"), "Input");
        return asButton ? asButton : control(QStringLiteral("check box"), "Input");
    }

private slots:
    void initTestCase() {
        const QDBusMessage reply =
            QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
                QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
        if (reply.type() != QDBusMessage::ReplyMessage || qEnvironmentVariableIsEmpty("DISPLAY")) {
            QSKIP("no accessibility bus or no X display (run it under xvfb-run dbus-run-session)");
        }
        bus.emplace(QDBusConnection::connectToBus(reply.arguments().first().toString(),
                                                  QStringLiteral("a11y")));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        environment.insert(QStringLiteral("VARNEL_SIM_RECORD"), scratch.filePath("unit.rec"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath("data"));
        program.setProcessEnvironment(environment);
        program.start(
            QStringLiteral(VARNEL_PROGRAM_PATH),
            {QStringLiteral("--simulate"), QStringLiteral("--lang"), QStringLiteral("en")});
        QVERIFY(program.waitForStarted());
        QVERIFY2(waitFor([&] {
                     for (const QString& service : bus->services()) {
                         const Node root{service, rootPath};
                         if (service.startsWith(QLatin1Char(':')) && bus->name(root) == "Varnel" &&
                             !bus->children(root).isEmpty()) {
                             application = root;
                             return true;
                         }
                     }
                     return false;
                 }),
                 "the program never appeared on the accessibility bus");
    }

    void cleanupTestCase() {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    // A Read first, so that the Input button and the rest are enabled; then every
    // enabled control a screen reader can focus takes the focus through GrabFocus.
    void grabFocusMovesTheFocusToEveryControl() {
        const std::optional<Node> read = control(QStringLiteral("push button"), "Read");
        QVERIFY(read);
        bus->startFirstAction(*read);
        const std::optional<Node> input = inputButton();
        QVERIFY(input);
        // The message the Read ends with is answered as a screen reader user would.
        QVERIFY(waitFor([&] {
            if (const std::optional<Node> ok = control(QStringLiteral("push button"), "OK")) {
                bus->doFirstAction(*ok);
            }
            return bus->hasState(*input, stateEnabled) &&
                   !control(QStringLiteral("push button"), "OK");
        }));
        // Without a window manager nothing gives the window the keyboard focus, and a
        // control of an inactive window never has it.
        QProcess focus;
        focus.start(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--name"),
                     QStringLiteral("^Varnel 4\\.0$"), QStringLiteral("windowfocus"),
                     QStringLiteral("--sync")});
        QVERIFY2(focus.waitForFinished(15000) && focus.exitCode() == 0,
                 "xdotool could not give the window the focus");

        int focused = 0;
        for (const Node& node :
             controls({QStringLiteral("push button"), QStringLiteral("radio button"),
                       QStringLiteral("check box"), QStringLiteral("combo box"),
                       QStringLiteral("slider")})) {
            if (!bus->hasState(node, stateEnabled) || !bus->hasState(node, stateFocusable)) {
                continue;
            }
            const QString what = bus->roleName(node) + " " + bus->name(node);
            QVERIFY2(bus->grabFocus(node), qPrintable(what));
            QVERIFY2(waitFor([&] { return bus->hasState(node, stateFocused); }), qPrintable(what));
            ++focused;
        }
        QVERIFY(focused > 0);
    }

    // The Input button: a push button that stays pressed while the procedure runs.
    void inputButtonShowsItsPressedState() {
        const std::optional<Node> input = inputButton();
        QVERIFY(input);
        QCOMPARE(bus->roleName(*input), QStringLiteral("push button"));
        QVERIFY(!bus->hasState(*input, statePressed));
        QVERIFY(bus->doFirstAction(*input));
        QVERIFY(waitFor([&] { return bus->hasState(*input, statePressed); }));
        bus->startFirstAction(*input); // cancels; its message box stays unanswered
    }
};

QTEST_GUILESS_MAIN(AtspiTest)
#include "atspi_test.moc"
