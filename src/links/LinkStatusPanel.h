#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <deque>

class QLabel;
class QStatusBar;
class QTimer;

namespace quendra {

class Link;

// One status-bar field per link for an unattended station: its state, the node, how long it has
// been connected and the spots it brought in the last minute. Made only when the operator turned
// an unattended-link option on.
class LinkStatusPanel : public QObject {
    Q_OBJECT
public:
    LinkStatusPanel(QStatusBar& bar, const Link& telnet, const Link& engine, QObject* parent = nullptr);

    enum Which { Telnet, Engine };
    void setNode(Which link, const QString& node);
    void spotReceived(Which link);
    // A link connected, failed or closed, or started retrying.
    void refresh();
    QString text(Which link) const;

private:
    struct Field {
        const Link* link = nullptr;
        QLabel* label = nullptr;
        QString name;
        QString node;
        bool wasConnected = false;
        std::chrono::steady_clock::time_point connectedAt;
        std::deque<std::chrono::steady_clock::time_point> spots;  // the last minute's only
    };
    void update(Field& field);

    Field fields_[2];
    QTimer* timer_ = nullptr;
};

}  // namespace quendra
