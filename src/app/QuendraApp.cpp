#include "app/QuendraApp.h"

#include "app/AboutBox.h"
#include "app/CMainFrame.h"
#include "platform/DialogLayout.h"
#include "platform/QtProfileSettings.h"

#include <QIcon>
#include <QMessageBox>
#include <QScreen>

namespace quendra {

QuendraApp::QuendraApp(int& argc, char** argv) : QApplication(argc, argv) {}

QuendraApp::~QuendraApp() = default;

int QuendraApp::highResolutionFor(const QRect& workArea) {
    const int width = workArea.width();
    const int height = workArea.height();
    return ((width > 240 && height > 320) || (width > 320 && height > 240)) ? 1 : 0;
}

bool QuendraApp::InitInstance() {
    // Qt needs neither a component-model nor a socket-library start-up: steps that the program
    // once had to take before its first window or socket are done by QApplication itself.
    setOrganizationName(QStringLiteral("Tamblix"));
    setApplicationName(QStringLiteral("Quendra"));
    setApplicationDisplayName(QStringLiteral("Quendra"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quendra.png")));
    settings_ = std::make_unique<QtProfileSettings>();

    const QScreen* screen = primaryScreen();
    highResolution_ = screen ? highResolutionFor(screen->availableGeometry()) : 0;

    frame_ = std::make_unique<CMainFrame>(*settings_, clock_, highResolution_ == 1);
    connect(frame_.get(), &CMainFrame::aboutRequested, this, &QuendraApp::OnAppAbout);
    if (frame_->OnCreate() != 0) {
        // The frame could not build its views: end with a clear word instead of an empty window.
        QMessageBox::critical(nullptr, QStringLiteral("Quendra"),
                              QStringLiteral("Quendra could not create its main window."));
        frame_.reset();
        return false;
    }
    frame_->resize(900, 600);
    frame_->show();
    setDialogRelayoutEnabled(true);
    return true;
}

void QuendraApp::OnAppAbout() {
    AboutBox about(frame_.get());
    about.exec();
}

}  // namespace quendra
