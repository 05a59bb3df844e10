// Writes the manual page lumora(1) to the file named on the command line; the same table
// makes `lumora --help`.
#include "linux/ui/program/command_line.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_man_page OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << lumora::manPage();
    out.close();
    if (!out) {
        std::cerr << "make_man_page: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
