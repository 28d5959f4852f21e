#include "app/AboutBox.h"
#include "links/DlgPeopertiesMisc.h"
#include "platform/DialogLayout.h"
#include "settings/MemorySettings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace quendra;

namespace {

// Remembers the order of the writes.
class RecordingSettings : public MemorySettings {
public:
    bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) override {
        written.push_back(QString::fromStdU16String(std::u16string(entry)));
        return MemorySettings::WriteProfileInt(section, entry, value);
    }
    bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                            std::u16string_view value) override {
        written.push_back(QString::fromStdU16String(std::u16string(entry)));
        return MemorySettings::WriteProfileString(section, entry, value);
    }
    QStringList written;
};

// Closes every message box shown while it lives and keeps the last text.
class MessageBoxCloser {
public:
    MessageBoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->close();
            }
        });
        timer_.start(10);
    }
    QString text;

private:
    QTimer timer_;
};

}  // namespace

class PropertiesDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheDefaults() {
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Properties"));
        QCOMPARE(dialog.field(1005)->text(), QStringLiteral("localhost"));
        QCOMPARE(dialog.field(1006)->text(), QStringLiteral("8000"));
        QCOMPARE(dialog.field(1007)->text(), QStringLiteral("50"));
        QCOMPARE(dialog.field(1008)->text(), QStringLiteral("NOCALL"));
        QCOMPARE(dialog.field(1006)->accessibleName(), QStringLiteral("Norrvel Port"));
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QVERIFY(buttons->button(QDialogButtonBox::Ok) && buttons->button(QDialogButtonBox::Cancel));
        QCOMPARE(settings.writeCount(), 0);
    }

    void okWritesTheFourValuesInOrder() {
        RecordingSettings settings;
        settings.WriteProfileString(u"STATUS", u"NORRVEL", u"engine.local");
        settings.WriteProfileInt(u"SETTINGS\\TELNET", u"MONITORBUFFERLINES", 200);
        settings.written.clear();
        DlgPeopertiesMisc dialog(settings);
        QCOMPARE(dialog.field(1005)->text(), QStringLiteral("engine.local"));
        QCOMPARE(dialog.field(1007)->text(), QStringLiteral("200"));
        dialog.field(1006)->setText(QStringLiteral(" 8001"));
        dialog.field(1005)->setText(QString());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.written, QStringList({"NORRVEL", "NORRVEL_PORT", "MONITORBUFFERLINES", "MYCALL"}));
        QCOMPARE(settings.GetProfileString(u"STATUS", u"NORRVEL", u"x"), u"");
        QCOMPARE(settings.GetProfileInt(u"STATUS", u"NORRVEL_PORT", 0), 8001);
        QCOMPARE(settings.GetProfileInt(u"SETTINGS\\TELNET", u"MONITORBUFFERLINES", 0), 200);
        QCOMPARE(settings.GetProfileString(u"STATUS", u"MYCALL"), u"NOCALL");
    }

    void integerFieldsTakeTheirLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("trailing letters") << "8000abc" << 8000;
        QTest::newRow("blanks and sign") << "  -12" << -12;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("beyond 32 bits held") << "99999999999" << 2147483647;
        QTest::newRow("digits after 63 characters ignored")
            << QString(62, u'0') + QStringLiteral("19") << 1;
    }
    void integerFieldsTakeTheirLeadingNumber() {
        QFETCH(QString, text);
        QFETCH(int, value);
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        dialog.field(1006)->setText(text);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.GetProfileInt(u"STATUS", u"NORRVEL_PORT", -1), value);
    }

    void nonIntegersKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("blamed");
        QTest::newRow("letters in port") << "abc" << "50" << 1006;
        QTest::newRow("empty port") << "" << "50" << 1006;
        QTest::newRow("sign only") << "-" << "50" << 1006;
        QTest::newRow("space inside sign") << "- 5" << "50" << 1006;
        QTest::newRow("lines are checked first") << "x" << "y" << 1007;
        QTest::newRow("digits only after 63 characters")
            << QString(63, u' ') + QStringLiteral("5") << "50" << 1006;
    }
    void nonIntegersKeepTheDialogOpen() {
        QFETCH(QString, port);
        QFETCH(QString, lines);
        QFETCH(int, blamed);
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        dialog.show();
        dialog.field(1006)->setText(port);
        dialog.field(1007)->setText(lines);
        MessageBoxCloser closer;
        dialog.accept();  // returns once the message box is closed
        QCOMPARE(closer.text, QStringLiteral("Please enter an integer."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(settings.writeCount(), 0);
        QLineEdit* field = dialog.field(blamed);
        QCOMPARE(dialog.focusWidget(), field);
        QCOMPARE(field->selectedText(), field->text());
    }

    void callSignLettersBecomeCapitalsAsTyped() {
        MemorySettings settings;
        settings.WriteProfileString(u"STATUS", u"MYCALL", u"dl1abc");
        DlgPeopertiesMisc dialog(settings);
        dialog.show();
        QLineEdit* call = dialog.field(1008);
        QCOMPARE(call->text(), QStringLiteral("DL1ABC"));
        call->setFocus();
        call->setText(QStringLiteral("DLABC"));
        call->setCursorPosition(2);
        QTest::keyClicks(call, QStringLiteral("1x"));
        QCOMPARE(call->text(), QStringLiteral("DL1XABC"));
        QCOMPARE(call->cursorPosition(), 4);
        QTest::keyClicks(call, QStringLiteral("/p"));
        dialog.accept();
        QCOMPARE(settings.GetProfileString(u"STATUS", u"MYCALL"), u"DL1X/PABC");
    }

    void cancelAndEscapeWriteNothing() {
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.field(1005)->setText(QStringLiteral("changed"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.writeCount(), 0);
    }

    // Tab walks the fields in the order of their labels, and each is named by its own label.
    void tabWalksTheFieldsEachNamedByItsLabel() {
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const struct { int id; const char* label; } fields[] = {
            {1005, "Norrvel Address"}, {1006, "Norrvel Port"}, {1007, "Terminal Buffer Lines"}, {1008, "MyCall"}};
        dialog.field(1005)->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), dialog.field(1005));
        for (const auto& field : fields) {
            QCOMPARE(QApplication::focusWidget(), dialog.field(field.id));
            QCOMPARE(dialog.field(field.id)->accessibleName(), QString::fromLatin1(field.label));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void enterConfirms() {
        MemorySettings settings;
        DlgPeopertiesMisc dialog(settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.field(1005)->setFocus();
        QTest::keyClick(dialog.field(1005), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.writeCount(), 4);
    }

    void aboutBoxPutsTextsBelowOrBesideTheIcon() {
        AboutBox about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quendra"));
        QLabel* version = qobject_cast<QLabel*>(findDialogControl(&about, 202));
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Quendra Version 1.0"));
        QVERIFY(findDialogControl(&about, 201) && findDialogControl(&about, 203));
        QVERIFY(about.findChild<QDialogButtonBox*>());
        const QRect below = dialogUnitsToPixels(QRect(12, 36, 70, 8), about.font());
        QCOMPARE(version->geometry().topLeft(), below.topLeft());
        ApplyDialogLayout(&about, 200);
        QCOMPARE(version->geometry().topLeft(), dialogUnitsToPixels(QRect(48, 12, 66, 8), about.font()).topLeft());
    }
};

QTEST_MAIN(PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
