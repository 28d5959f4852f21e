#include "app/QuendraApp.h"

int main(int argc, char* argv[]) {
    quendra::QuendraApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
