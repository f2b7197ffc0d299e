// The start-up baseline: a program that links only Open CASCADE's STEP reader and exits. A reader
// is made only when an argument is given, so that the linker keeps the toolkits without the run
// doing any work beyond loading them.
#include <STEPControl_Reader.hxx>

int main(int argc, char** argv) {
    if (argc > 1) {
        STEPControl_Reader reader;
        return reader.ReadFile(argv[1]) == IFSelect_RetDone ? 0 : 1;
    }
    return 0;
}
