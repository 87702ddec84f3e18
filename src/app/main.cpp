#include "CMosaicsApp.h"

int main(int argc, char** argv) {
    CMosaicsApp app(argc, argv);
    return app.InitInstance();
}
