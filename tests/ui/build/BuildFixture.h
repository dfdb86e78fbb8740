#pragma once
// What the window tests of the build commands share: a configured program
// whose tools are the stand-ins, on the screen, and fake tools written by
// the tests.
#include "tests/common/AppFixture.h"

#include "model/SettingsStore.h"
#include "platform/KeyStore.h"
#include "ui/build/BuildFeature.h"
#include "ui/build/WaitWindow.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QPlainTextEdit>
#include <QTimer>

namespace lingrove::testing {

inline void writeProgram(const QString& path, const QByteArray& script)
{
    writeBytes(path, script);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// The texts the wait window showed while it was up, sampled every 10 ms
// (while a command pumps the events).
class WaitWatch {
public:
    explicit WaitWatch(ui::WaitWindow& window)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, &window] {
            if (window.isVisible() && (seen.isEmpty() || seen.last() != window.text()))
                seen << window.text();
        });
        timer_.start();
    }
    QStringList seen;

private:
    QTimer timer_;
};

class BuildTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Stored as the options dialog stores them, so that the check at the
        // first showing finds the program configured.
        model::Settings settings = model::Settings::defaults();
        const QString standIns = QStringLiteral(LINGROVE_STANDINS "/");
        settings.compiler.folder = settings.ide.folder = settings.resourceCompiler.folder = standIns;
        platform::KeyStore store;
        ASSERT_TRUE(model::settings_store::save(store, settings, false));
        window().show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return workspace().isConfigured(); }));
        ASSERT_EQ(workspace().settings().compiler.folder, standIns);
        ui->clear();
    }

    ui::BuildFeature& build() { return app->build(); }

    // The tools' folders; a folder ends in a separator, as stored.
    void setToolFolders(const QString& compiler, const QString& ide, const QString& resourceCompiler)
    {
        model::Settings s = workspace().settings();
        s.compiler.folder = compiler;
        s.ide.folder = ide;
        s.resourceCompiler.folder = resourceCompiler;
        workspace().setSettings(s);
    }
    // script as dcc32.exe in a folder of its own, and that folder the compiler's.
    void useCompiler(const QByteArray& script)
    {
        const QString folder = dir.path() + "/bin";
        writeProgram(folder + "/dcc32.exe", script);
        model::Settings s = workspace().settings();
        s.compiler.folder = folder + "/";
        workspace().setSettings(s);
    }
    void setProjectSource(const QString& dpr)
    {
        QDir().mkpath(QFileInfo(dpr).path());
        workspace().project().delphiProjectFile = dpr;
    }

    // Chooses a command of a menu of the window, by its name.
    void trigger(ui::Menu menu, const QString& name)
    {
        for (QAction* a : window().menu(menu)->actions()) {
            if (a->objectName() == name) {
                a->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no command " << name.toStdString();
    }

    // The project page's line n.
    QString pageLine(int n) const
    {
        return app->pages().projectEditor()->document()->findBlockByNumber(n).text();
    }
};

} // namespace lingrove::testing
