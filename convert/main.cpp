// tablor-convert: converts tables between .tbr files and delimited text on the command line.

#include "convert/Convert.h"

#include <iostream>

int main(int argc, char** argv) {
    return tablor::runConvert(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                              std::cerr);
}
