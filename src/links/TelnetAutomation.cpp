#include "links/TelnetAutomation.h"

#include "links/AddressHistory.h"
#include "links/LinkRetry.h"
#include "links/TelnetAddress.h"
#include "links/TelnetSocket.h"
#include "platform/QtText.h"
#include "settings/SettingsCatalogue.h"
#include "text/CodePage.h"

#include <algorithm>

namespace quendra {

TelnetAutomation::TelnetAutomation(Settings& settings, TelnetSocket& link, Hooks hooks, QObject* parent)
    : QObject(parent), settings_(settings), link_(link), hooks_(std::move(hooks)), retry_(new LinkRetry(this)) {
    connect(&link_, &AsyncSocket::connectFinished, this, &TelnetAutomation::onConnectFinished);
    connect(&link_, &AsyncSocket::closed, this, &TelnetAutomation::onClosed);
    connect(retry_, &LinkRetry::attemptDue, this, &TelnetAutomation::attempt);
}

TelnetAutomation::~TelnetAutomation() = default;

bool TelnetAutomation::retrying() const { return retry_->waiting(); }

void TelnetAutomation::received(std::u16string_view text) {
    if (!loginWanted_ || loginAnswered_ || !prompt_.feed(text))
        return;
    loginAnswered_ = true;
    std::u16string lines = readSetting(settings_, setting::kMyCall) + u"\r\n";
    // One start-up command a line of the setting; blank lines are skipped.
    const std::u16string commands = readSetting(settings_, setting::kAutoLoginCommands);
    std::u16string_view rest(commands);
    while (!rest.empty()) {
        const auto end = rest.find_first_of(u"\r\n");
        const std::u16string_view command = rest.substr(0, end);
        if (command.find_first_not_of(u' ') != std::u16string_view::npos)
            lines += std::u16string(command) + u"\r\n";
        if (end == std::u16string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    link_.sendTyped(encodeWindows1252(lines));
}

void TelnetAutomation::userConnected() {
    stoppedByUser_ = false;
    retry_->stop();
    retry_->succeeded();
}

void TelnetAutomation::userDisconnected() {
    stoppedByUser_ = true;
    retry_->stop();
}

void TelnetAutomation::onConnectFinished(int error) {
    if (error == 0) {
        prompt_.reset();
        loginAnswered_ = false;
        // Read once per connection: the node's text arrives read by read and must stay cheap.
        loginWanted_ = option(readSetting(settings_, setting::kAutoLogin));
        retry_->succeeded();
        return;
    }
    tryAgainLater("Connect failed");
}

void TelnetAutomation::onClosed() { tryAgainLater("Link lost"); }

void TelnetAutomation::tryAgainLater(const char* what) {
    if (stoppedByUser_ || !option(readSetting(settings_, setting::kAutoReconnect)))
        return;
    AddressHistory history(settings_);
    const auto entries = history.entries();
    const auto current = std::find(entries.begin(), entries.end(), history.lastConfirmed());
    retry_->setAddresses(static_cast<int>(entries.size()),
                         current == entries.end() ? 0 : static_cast<int>(current - entries.begin()));
    const RetrySchedule::Retry next = retry_->scheduleAfterFailure();
    const auto seconds = std::max<long long>(1, (next.pause.count() + 500) / 1000);
    hooks_.say(toU16(QStringLiteral("***%1; trying again in %2 s. \r\n")
                         .arg(QLatin1String(what))
                         .arg(seconds)));
}

void TelnetAutomation::attempt(int address) {
    if (stoppedByUser_ || link_.connected() != 0)
        return;
    const auto entries = AddressHistory(settings_).entries();
    if (address >= 0 && address < static_cast<int>(entries.size())) {
        const TelnetAddress chosen = parseTelnetAddress(entries[static_cast<std::size_t>(address)]);
        if (!chosen.host.empty())
            hooks_.addressChosen(toQString(chosen.host), chosen.port);
    }
    hooks_.say(u"***Reconnecting... \r\n");
    link_.connectLink();
}

}  // namespace quendra
