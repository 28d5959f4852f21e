#pragma once

// Monitored frames as the stand-in engine delivers them: a header line such as
// " 1:Fm ZZ1AB To CQ <UI pid=F0 Len=70 >[12:34:56]" followed by the data lines, every line ended
// by CR, either generated or read from a file.

#include "TrafficText.h"
#include "links/FrameHeader.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

#include <memory>
#include <optional>
#include <vector>

namespace standin {

struct MonitorFrame {
    char kind = 'U';
    std::uint32_t port = 0;
    std::string from;
    std::string to;
    QByteArray text;
};

inline QByteArray frameBytes(const MonitorFrame& frame) {
    quendra::FrameHeader header;
    header.port = frame.port;
    header.kind = static_cast<std::uint8_t>(frame.kind);
    header.pid = 0xF0;
    header.fromCall = quendra::FrameHeader::callField(frame.from);
    header.toCall = quendra::FrameHeader::callField(frame.to);
    const auto* data = reinterpret_cast<const std::uint8_t*>(frame.text.constData());
    const auto bytes = quendra::encodeFrame(header, {data, static_cast<std::size_t>(frame.text.size())});
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline QByteArray clockStamp() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("[hh:mm:ss]")).toLatin1();
}

// " 1:Fm ZZ1AB To CQ <UI pid=F0 Len=70 >[12:34:56]" with the port counted from 1; the number is
// right-aligned in two places so "Fm" stays at characters 3 and 4 up to port 99.
inline QByteArray headerLine(std::uint64_t port, const std::string& from, const std::string& to,
                             const QByteArray& control) {
    return QByteArray::number(port + 1).rightJustified(2, ' ') + ":Fm " + QByteArray::fromStdString(from) +
           " To " + QByteArray::fromStdString(to) + " <" + control + ">" + clockStamp();
}

inline QByteArray infoControl(const char* type, qsizetype length) {
    return QByteArray(type) + " pid=F0 Len=" + QByteArray::number(length) + " ";
}

// The frame the engine shows for data it sent itself: the sender's 'M' frame as a 'T' frame.
inline MonitorFrame transmittedFrame(std::uint32_t port, std::string from, std::string to,
                                     const QByteArray& data) {
    MonitorFrame frame{'T', port, std::move(from), std::move(to), {}};
    frame.text = headerLine(port, frame.from, frame.to, infoControl("UI", data.size())) + "\r" + data;
    return frame;
}

class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual MonitorFrame next() = 0;
};

// Spot broadcasts from cluster nodes, beacons, keyboard chatter and the odd link-layer frame.
class GeneratedFrames : public FrameSource {
public:
    GeneratedFrames(std::uint32_t seed, std::uint32_t ports, bool spotsOnly = false)
        : random_(seed), ports_(std::max(ports, 1u)), spotsOnly_(spotsOnly) {
        for (int i = 0; i < 3; ++i)
            nodes_.push_back(callSign(random_) + "-" + std::to_string(random_.between(1, 15)));
    }

    MonitorFrame next() override {
        const int roll = spotsOnly_ ? 1 : random_.between(1, 100);
        if (roll <= 55)
            return spotFrame();
        if (roll <= 70)
            return infoFrame('U', "UI", callSign(random_), "BEACON", {beaconText()});
        if (roll <= 85)
            return infoFrame('I', iControl(), callSign(random_), callSign(random_), {chatterText()});
        if (roll <= 95)
            return bareFrame('S', random_.chance(0.8) ? "RR R" + std::to_string(random_.between(0, 7)) : "RNR R0");
        return bareFrame('U', random_.chance(0.5) ? "SABM P" : "DISC P");
    }

private:
    MonitorFrame spotFrame() {
        std::vector<std::string> lines{spotLine(random_)};
        if (random_.chance(0.25))
            lines.push_back(spotLine(random_));
        return infoFrame('U', "UI", random_.pick(nodes_), random_.chance(0.7) ? "DX" : "CQ", lines);
    }

    std::string iControl() {
        return "I R" + std::to_string(random_.between(0, 7)) + " S" + std::to_string(random_.between(0, 7));
    }

    std::string beaconText() {
        static constexpr std::array<const char*, 4> texts{
            "Digipeater and mailbox, Uppsala JO89XU", "=5951.50N/01737.20E# PHG2360 digi",
            "Node up 12 days, 3 links, 14 users", "Weather: 12C wind SW 4 m/s QNH 1012"};
        return random_.pick(texts);
    }

    std::string chatterText() {
        static constexpr std::array<const char*, 5> texts{
            "Hello Bob, how are the antennas doing?", "QSL, see you on 2m tonight 73",
            "Did you hear the 6m opening this morning?", "Testing the new TNC, pse report",
            "bye for now"};
        return random_.pick(texts);
    }

    MonitorFrame infoFrame(char kind, const std::string& type, std::string from, std::string to,
                           const std::vector<std::string>& lines) {
        QByteArray data;
        for (const auto& line : lines)
            data += QByteArray::fromStdString(line) + "\r";
        MonitorFrame frame{kind, port(), std::move(from), std::move(to), {}};
        const QByteArray control = infoControl(type.c_str(), data.size());
        frame.text = headerLine(frame.port, frame.from, frame.to, control) + "\r" + data;
        return frame;
    }

    MonitorFrame bareFrame(char kind, const std::string& control) {
        MonitorFrame frame{kind, port(), callSign(random_), callSign(random_), {}};
        frame.text = headerLine(frame.port, frame.from, frame.to, QByteArray::fromStdString(control + " ")) + "\r";
        return frame;
    }

    std::uint32_t port() { return static_cast<std::uint32_t>(random_.between(0, static_cast<int>(ports_) - 1)); }

    Random random_;
    std::uint32_t ports_;
    bool spotsOnly_;
    std::vector<std::string> nodes_;
};

// A frames file: blocks separated by blank lines; a block's first line is the header line, the
// rest are its data lines; lines starting with '#' outside a block are comments. The port is the
// header's leading number less one; the kind follows the control field (<I ...> is 'I', <RR>,
// <RNR>, <REJ> and <SREJ> are 'S', everything else 'U'); "Len=<n>" is set to the real data length.
// The frames repeat in order.
class FileFrames : public FrameSource {
public:
    static std::unique_ptr<FileFrames> load(const QString& path, QString& error) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = file.errorString();
            return {};
        }
        auto frames = std::unique_ptr<FileFrames>(new FileFrames);
        std::vector<QByteArray> block;
        while (!file.atEnd()) {
            QByteArray line = file.readLine();
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            if (line.trimmed().isEmpty()) {
                frames->addBlock(block);
                block.clear();
            } else if (!(block.empty() && line.startsWith('#'))) {
                block.push_back(line);
            }
        }
        frames->addBlock(block);
        if (frames->frames_.empty()) {
            error = QStringLiteral("no frames in the file");
            return {};
        }
        return frames;
    }

    MonitorFrame next() override {
        MonitorFrame frame = frames_[at_];
        at_ = (at_ + 1) % frames_.size();
        return frame;
    }

private:
    FileFrames() = default;

    void addBlock(const std::vector<QByteArray>& block) {
        if (block.empty())
            return;
        QByteArray data;
        for (std::size_t i = 1; i < block.size(); ++i)
            data += block[i] + "\r";
        QByteArray header = block.front();
        static const QRegularExpression length(QStringLiteral("Len=\\d+"));
        header = QString::fromLatin1(header).replace(length, QStringLiteral("Len=%1").arg(data.size())).toLatin1();
        const QList<QByteArray> words = header.simplified().split(' ');
        MonitorFrame frame;
        frame.port = static_cast<std::uint32_t>(std::max(words.value(0).split(':').value(0).toInt() - 1, 0));
        frame.from = words.value(1).toStdString();
        frame.to = words.value(3).toStdString();
        frame.kind = kindOf(header);
        frame.text = header + "\r" + data;
        frames_.push_back(std::move(frame));
    }

    static char kindOf(const QByteArray& header) {
        const qsizetype open = header.indexOf('<');
        const QByteArray type = header.mid(open + 1).split(' ').value(0).split('>').value(0);
        if (open < 0)
            return 'U';
        if (type == "I" || (type.startsWith('I') && type.size() > 1 && type.at(1) >= '0' && type.at(1) <= '9'))
            return 'I';
        if (type == "RR" || type == "RNR" || type == "REJ" || type == "SREJ")
            return 'S';
        return 'U';
    }

    std::vector<MonitorFrame> frames_;
    std::size_t at_ = 0;
};

}  // namespace standin
