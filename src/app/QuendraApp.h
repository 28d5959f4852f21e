#pragma once

#include "spots/Clock.h"

#include <QApplication>

#include <memory>

class QRect;

namespace quendra {

class CMainFrame;
class Settings;

// The application: runs the start-up steps in order, owns the settings store and the main frame,
// and shows the About box.
class QuendraApp : public QApplication {
    Q_OBJECT
public:
    QuendraApp(int& argc, char** argv);
    ~QuendraApp() override;

    // The start-up; false ends the program at once.
    bool InitInstance();
    void OnAppAbout();

    // 1 when the screen's work area is larger than 240 x 320 in either orientation.
    int highResolution() const { return highResolution_; }
    static int highResolutionFor(const QRect& workArea);

    CMainFrame* mainFrame() const { return frame_.get(); }
    Settings& settings() const { return *settings_; }

private:
    int highResolution_ = 0;
    SystemClock clock_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace quendra
