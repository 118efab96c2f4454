// make-test-archives DIR: writes small stand-in archives for the whole-program tests.
#include "cTestAssets.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make-test-archives DIR\n");
        return 2;
    }
    cTestAssets::WriteGameArchives(argv[1]);
    return 0;
}
