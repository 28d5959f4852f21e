#include "links/DlgTelnetConnect.h"
#include "platform/DialogLayout.h"
#include "settings/MemorySettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quendra;

namespace {

std::u16string u16(const QString& text) { return text.toStdU16String(); }

QString stored(MemorySettings& settings, const QString& entry) {
    return QString::fromStdU16String(settings.GetProfileString(u"STATUS", u16(entry), u"<none>"));
}

void storeHistory(MemorySettings& settings, const QStringList& entries) {
    for (int i = 0; i < entries.size(); ++i)
        if (!entries[i].isNull())
            settings.WriteProfileString(u"STATUS", u16(QStringLiteral("TELENETADR%1").arg(i)),
                                        u16(entries[i]));
}

QStringList listed(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QRect expectedPlace(const QDialog& dialog, QRect units) {
    return dialogUnitsToPixels(units, dialog.font());
}

}  // namespace

class ConnectDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okSplitsTheTextAndRecordsIt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host and port") << "node:8000" << "node" << 8000;
        QTest::newRow("no colon") << "node" << "node" << 23;
        QTest::newRow("empty port") << "node:" << "node" << 23;
        QTest::newRow("blank before port") << "node: 8000" << "node" << 8000;
        QTest::newRow("text after port") << "node:8000 xyz" << "node" << 8000;
        QTest::newRow("url form") << "telnet://dxc.example.org" << "telnet" << 0;
    }
    void okSplitsTheTextAndRecordsIt() {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        MemorySettings settings;
        storeHistory(settings, {"old:23"});
        std::u16string hostBuffer;
        int portVariable = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, portVariable);
        dialog.addressBox()->setEditText(text);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdU16String(hostBuffer), host);
        QCOMPARE(portVariable, port);
        QCOMPARE(stored(settings, "TELNET"), text);
        QCOMPARE(stored(settings, "TELENETADR0"), QStringLiteral("old:23"));
        QCOMPARE(stored(settings, "TELENETADR1"), text);
    }

    // Typed key by key, as a user does: a longer history entry must not be filled in.
    void typedAddressIsTakenAsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("port");
        QTest::newRow("prefix of an entry") << "node" << 23;
        QTest::newRow("entry in other case") << "NODE:8000" << 8000;
    }
    void typedAddressIsTakenAsTyped() {
        QFETCH(QString, typed);
        QFETCH(int, port);
        MemorySettings settings;
        storeHistory(settings, {"node:8000"});
        settings.WriteProfileString(u"STATUS", u"TELNET", u"other");
        std::u16string hostBuffer;
        int portVariable = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, portVariable);
        dialog.show();
        QLineEdit* edit = dialog.addressBox()->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(portVariable, port);
        QCOMPARE(stored(settings, "TELNET"), typed);
    }

    void emptyHostClosesWithoutSaving_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("only colons") << ":::";
    }
    void emptyHostClosesWithoutSaving() {
        QFETCH(QString, text);
        MemorySettings settings;
        std::u16string hostBuffer = u"previous";
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        dialog.addressBox()->setEditText(text);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(hostBuffer.empty());
        QCOMPARE(port, 0);
        QCOMPARE(settings.writeCount(), 0);
    }

    void historyEndsAtTheFirstGapWhichTheNextOkFills() {
        MemorySettings settings;
        storeHistory(settings, {"alpha:23", QString(), "gamma:23"});
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        QCOMPARE(listed(dialog.addressBox()), QStringList({"alpha:23"}));
        dialog.addressBox()->setEditText(QStringLiteral("beta:7300"));
        dialog.accept();
        QCOMPARE(stored(settings, "TELENETADR1"), QStringLiteral("beta:7300"));
        QCOMPARE(stored(settings, "TELENETADR2"), QStringLiteral("gamma:23"));
    }

    void duplicatesAreListedTwiceAndConfirmingAgainAddsOne() {
        MemorySettings settings;
        storeHistory(settings, {"node:23"});
        std::u16string hostBuffer;
        int port = 0;
        {
            DlgTelnetConnect dialog(settings, hostBuffer, port);
            dialog.addressBox()->setEditText(QStringLiteral("node:23"));
            dialog.accept();
        }
        DlgTelnetConnect again(settings, hostBuffer, port);
        QCOMPARE(listed(again.addressBox()), QStringList({"node:23", "node:23"}));
    }

    void listIsSortedAndTheLastAddressPreselected_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("shown");
        QTest::newRow("prefix of several: first in sorted order") << "dx." << 0 << "DX.alpha:23";
        QTest::newRow("case-insensitive") << "ZET" << 2 << "zeta:23";
        QTest::newRow("whole entry") << "dx.beta:7300" << 1 << "dx.beta:7300";
        QTest::newRow("no match") << "other" << -1 << "";
        QTest::newRow("empty last address: the first entry") << "" << 0 << "DX.alpha:23";
    }
    void listIsSortedAndTheLastAddressPreselected() {
        QFETCH(QString, last);
        QFETCH(int, selected);
        QFETCH(QString, shown);
        MemorySettings settings;
        storeHistory(settings, {"zeta:23", "dx.beta:7300", "DX.alpha:23"});
        settings.WriteProfileString(u"STATUS", u"TELNET", u16(last));
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        QCOMPARE(listed(dialog.addressBox()),
                 QStringList({"DX.alpha:23", "dx.beta:7300", "zeta:23"}));
        QCOMPARE(dialog.addressBox()->currentIndex(), selected);
        QCOMPARE(dialog.addressBox()->currentText(), shown);
    }

    void cancelWritesNothingAndKeepsTheCallersValues() {
        MemorySettings settings;
        storeHistory(settings, {"node:23"});
        const int writesBefore = settings.writeCount();
        std::u16string hostBuffer = u"kept";
        int port = 42;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        dialog.show();
        dialog.addressBox()->setEditText(QStringLiteral("other:8000"));
        QTest::mouseClick(qobject_cast<QPushButton*>(findDialogControl(&dialog, 2)), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.writeCount(), writesBefore);
        QCOMPARE(hostBuffer, u"kept");
        QCOMPARE(port, 42);
    }

    // A screen reader names the box after the label above it and reads the format hint with it.
    void addressBoxIsNamedByItsLabelAndDescribedByTheHint() {
        MemorySettings settings;
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        QComboBox* box = dialog.addressBox();
        QCOMPARE(box->accessibleName(), QStringLiteral("Address/URL"));
        QVERIFY(box->accessibleDescription().startsWith(QStringLiteral("Address Format is Address:Port e.g. ")));
        int buddies = 0;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            buddies += label->buddy() == box ? 1 : 0;
        QCOMPARE(buddies, 1);
    }

    void enterConfirms() {
        MemorySettings settings;
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.addressBox()->lineEdit()->setFocus();
        QTest::keyClicks(dialog.addressBox()->lineEdit(), QStringLiteral("typed:7000"));
        QTest::keyClick(dialog.addressBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(port, 7000);
    }

    void layoutMovesEveryControlBetweenTemplates() {
        MemorySettings settings;
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        const QSize sizeBefore = dialog.size();
        auto* combo = dialog.addressBox();
        auto* ok = findDialogControl(&dialog, 1);
        auto* cancel = findDialogControl(&dialog, 2);
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 2);
        QLabel* format = labels[0]->property(kDialogLabelIndexProperty).toInt() == 0 ? labels[0] : labels[1];
        QLabel* address = format == labels[0] ? labels[1] : labels[0];

        QCOMPARE(ok->geometry().topLeft(), expectedPlace(dialog, {11, 62, 50, 14}).topLeft());
        QVERIFY(format->text().contains(u'\n'));

        ApplyDialogLayout(&dialog, 101);
        QCOMPARE(ok->geometry(), expectedPlace(dialog, {23, 62, 50, 14}));
        QCOMPARE(cancel->geometry(), expectedPlace(dialog, {123, 62, 50, 14}));
        QCOMPARE(combo->geometry().topLeft(), expectedPlace(dialog, {7, 43, 196, 70}).topLeft());
        QCOMPARE(combo->width(), expectedPlace(dialog, {7, 43, 196, 70}).width());
        QCOMPARE(format->geometry(), expectedPlace(dialog, {7, 9, 196, 16}));
        QCOMPARE(address->geometry().topLeft(), expectedPlace(dialog, {11, 29, 42, 8}).topLeft());
        QVERIFY(!format->text().contains(u'\n'));
        QCOMPARE(dialog.size(), sizeBefore);

        ApplyDialogLayout(&dialog, 102);
        QCOMPARE(cancel->geometry(), expectedPlace(dialog, {91, 62, 50, 14}));
        QCOMPARE(address->geometry().topLeft(), expectedPlace(dialog, {11, 30, 42, 8}).topLeft());
        QVERIFY(format->text().contains(u'\n'));

        ApplyDialogLayout(&dialog, 4711);  // no such template: nothing moves
        QCOMPARE(cancel->geometry(), expectedPlace(dialog, {91, 62, 50, 14}));
    }

    void layoutReappliesTheSelectionButKeepsTypedText() {
        MemorySettings settings;
        storeHistory(settings, {"node:23"});
        settings.WriteProfileString(u"STATUS", u"TELNET", u"node");
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        QComboBox* combo = dialog.addressBox();
        combo->lineEdit()->setText(QStringLiteral("changed by code"));
        ApplyDialogLayout(&dialog, 101);
        QCOMPARE(combo->currentText(), QStringLiteral("node:23"));

        dialog.show();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("typed:1"));
        ApplyDialogLayout(&dialog, 102);
        QCOMPARE(combo->currentText(), QStringLiteral("typed:1"));
    }

    void resizeFollowsTheScreenOnlyWhileEnabled() {
        MemorySettings settings;
        std::u16string hostBuffer;
        int port = 0;
        DlgTelnetConnect dialog(settings, hostBuffer, port);
        const bool portrait = screenIsPortrait(&dialog);
        const QRect portraitOk = expectedPlace(dialog, {11, 62, 50, 14});
        const QRect landscapeOk = expectedPlace(dialog, {23, 62, 50, 14});
        QWidget* ok = findDialogControl(&dialog, 1);

        dialog.resize(dialog.size() + QSize(5, 5));
        QCoreApplication::processEvents();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(ok->geometry(), portraitOk);

        setDialogRelayoutEnabled(true);
        dialog.resize(dialog.size() + QSize(5, 5));
        QTRY_COMPARE(ok->geometry(), portrait ? portraitOk : landscapeOk);
        setDialogRelayoutEnabled(false);
    }
};

QTEST_MAIN(ConnectDialogTest)
#include "ConnectDialogTest.moc"
