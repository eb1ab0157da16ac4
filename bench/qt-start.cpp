// verbarium-qt-start: a process that loads Qt Core, as every Qt program does, and
// ends. bench/process-bench.py times it as the floor of the lookup tool's start: the
// dynamic loader mapping and relocating Qt Core and its libraries (ICU, glib, PCRE2,
// zstd...) and Qt's own static set-up, which no Qt program avoids.

#include <QString>

int main(int argc, char *[])
{
    // One call into Qt Core, so that the library is linked and loaded.
    return QString::number(argc).isEmpty() ? 1 : 0;
}
