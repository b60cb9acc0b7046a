#include "platform/GuardedApplication.h"

int main(int argc, char** argv) {
    platform::GuardedApplication application(argc, argv);
    return 0;
}
