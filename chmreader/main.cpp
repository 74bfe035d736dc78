// tablor-chm FILE: the help viewer's archive reader. It opens one compiled help file and
// answers the viewer's requests on its standard input and output (see ChmMessages.h). It runs
// apart from the program so that a damaged file can only end the reader, never the program.

#include "chmreader/ChmServer.h"

#include <csignal>

#include <chm_lib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    // The reader never outlives the program that asked for it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    chmreader::limitResources();
    // Only a regular file is opened: a pipe or a device would block or never end.
    struct stat info {};
    chmFile* file = nullptr;
    if (stat(argv[1], &info) == 0 && S_ISREG(info.st_mode)) file = chm_open(argv[1]);
    const int status = chmreader::serve(file, STDIN_FILENO, STDOUT_FILENO);
    if (file) chm_close(file);
    return status;
}
