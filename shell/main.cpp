#include "shell/app/Startup.h"

int main(int argc, char** argv) {
    return runTessaron(argc, argv);
}
