/* Loads each library named on the command line the plain way, by name, as the program
   once loaded its help viewer: the proof that a planted file is found where a careless
   program would find it. Exit code: how many could not be loaded. */
#include <windows.h>

int main(int argc, char** argv) {
    int missing = 0;
    for (int i = 1; i < argc; ++i) {
        if (LoadLibraryA(argv[i]) == NULL) {
            ++missing;
        }
    }
    return missing;
}
