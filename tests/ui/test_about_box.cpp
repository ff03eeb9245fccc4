#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include "tests/ui/fake_platform.h"
#include "tests/ui/ui_test_main.h"
#include "ui/frm_about.h"

using namespace slabrating::ui;
using slabrating::ui::test::FakePlatform;

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void init() { m_platform = std::make_unique<FakePlatform>(); }

    void texts() {
        frmAbout about(*m_platform);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Slab Rating"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Slab Rating"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 2.1.0"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
                 QStringLiteral("This application rates concrete slabs."));
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().isEmpty());
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&System Info..."));
        QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void okIsDefaultAndCancel_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("click") << 0;
    }
    void okIsDefaultAndCancel() {
        QFETCH(int, key);
        frmAbout about(*m_platform);
        about.show();
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(ok->isDefault());
        QSignalSpy finished(&about, &QDialog::finished);
        if (key == 0) {
            ok->click();
        } else {
            QTest::keyClick(&about, Qt::Key(key));
        }
        QCOMPARE(finished.size(), 1);
        QVERIFY(!about.isVisible());
    }

    void systemInformation_data() {
        QTest::addColumn<QStringList>("onPath");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("modal");
        const QStringList none;
        const QStringList unavailable{
            QStringLiteral("System Information Is Unavailable At This Time")};
        QTest::newRow("hardinfo first") << QStringList{"hardinfo", "gnome-system-monitor"} << true
                                        << QStringList{"/usr/bin/hardinfo"} << none << none;
        QTest::newRow("kinfocenter") << QStringList{"kinfocenter", "gnome-system-monitor"} << true
                                     << QStringList{"/usr/bin/kinfocenter"} << none << none;
        QTest::newRow("gnome system monitor")
            << QStringList{"gnome-system-monitor"} << true
            << QStringList{"/usr/bin/gnome-system-monitor"} << none << none;
        QTest::newRow("first found fails, others not tried")
            << QStringList{"hardinfo", "kinfocenter"} << false << QStringList{"/usr/bin/hardinfo"}
            << unavailable << none;
        QTest::newRow("none found: built-in report")
            << none << true << none << none << QStringList{"SystemReport"};
    }
    void systemInformation() {
        QFETCH(QStringList, onPath);
        QFETCH(bool, starts);
        QFETCH(QStringList, started);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, modal);
        for (const QString& name : onPath) {
            m_platform->programs.insert(name, QStringLiteral("/usr/bin/") + name);
        }
        m_platform->programsStart = starts;
        QString report;
        bool readOnly = false;
        m_platform->onModal = [&](QDialog& dialog) {
            auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("SystemReportText"));
            report = text->toPlainText();
            readOnly = text->isReadOnly();
            return QDialog::Rejected;
        };
        frmAbout about(*m_platform);
        about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        QCOMPARE(m_platform->startedPrograms, started);
        QCOMPARE(m_platform->messages, messages);
        QCOMPARE(m_platform->modalDialogs, modal);
        if (!modal.isEmpty()) {
            QVERIFY(readOnly);
            QCOMPARE(report, systemReportText(QStringLiteral("/fake/Slab Rating.conf")));
        }
    }

    void systemReportLines() {
        const QStringList lines =
            systemReportText(QStringLiteral("/home/u/.config/Slab Rating.conf"))
                .split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("Operating system: ") + QSysInfo::prettyProductName());
        QVERIFY(lines[1].startsWith(QStringLiteral("Kernel: ") + QSysInfo::kernelType()));
        QCOMPARE(lines[2],
                 QStringLiteral("CPU architecture: ") + QSysInfo::currentCpuArchitecture());
        QCOMPARE(lines[3], QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion()));
        QCOMPARE(lines[4], QStringLiteral("Program version: Slab Rating 2.1.0"));
        QCOMPARE(lines[5], QStringLiteral("Settings stored in: /home/u/.config/Slab Rating.conf"));
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
};

SLABRATING_UI_TEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
