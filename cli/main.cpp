#include "cli/comandi.h"

#include <iostream>
#include <sys/ioctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    veltrano::cli::Flussi f{std::cin, std::cout, std::cerr};
    f.outTerminale = isatty(STDOUT_FILENO) != 0;
    f.errTerminale = isatty(STDERR_FILENO) != 0;
    winsize w{};
    if (f.errTerminale && ioctl(STDERR_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 0)
        f.colonne = w.ws_col;
    return veltrano::cli::Principale({argv + 1, argv + argc}, f);
}
