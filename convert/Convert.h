#pragma once
// The converter between table files (.tbr) and delimited text (.csv, .tsv, .txt), as the
// command line gives it its arguments. Qt-free.

#include <ostream>
#include <string>
#include <vector>

namespace tablor {

// Exit statuses of the converter.
enum ConvertStatus { ConvertDone = 0, ConvertRefused = 1, ConvertUsage = 2 };

// Runs the converter on the arguments (without the program's name): results on `out`, French
// messages on `err`. A refused input writes nothing and leaves no output file behind.
int runConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tablor
