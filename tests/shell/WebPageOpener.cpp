// Opens an address in the desktop's browser as the vendor button does, a number of times,
// and prints each result ("true" / "false") on a line.
#include "shell/WebPage.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const QString address = QString::fromLocal8Bit(argv[1]);
    for (int click = std::atoi(argv[2]); click > 0; --click)
        std::printf("%s\n", mirel::OpenWebPage(address) ? "true" : "false");
    return 0;
}
