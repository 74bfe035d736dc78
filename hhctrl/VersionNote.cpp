// The module's version, as an ELF note that the program's diagnostics read from the file
// without loading it: owner "Tablor", type 1, four 16-bit numbers major.minor.release.build.

#define HHCTRL_TEXT(x) #x
#define HHCTRL_NUMBER(x) HHCTRL_TEXT(x)

// clang-format off
asm(".pushsection .note.tablor.version, \"a\", @note\n"
    ".balign 4\n"
    ".long 7\n" // owner name size, with its terminating zero
    ".long 8\n" // descriptor size
    ".long 1\n" // note type: file version
    ".asciz \"Tablor\"\n"
    ".balign 4\n"
    ".short " HHCTRL_NUMBER(HHCTRL_VERSION_MAJOR) ", " HHCTRL_NUMBER(HHCTRL_VERSION_MINOR) ", "
              HHCTRL_NUMBER(HHCTRL_VERSION_RELEASE) ", " HHCTRL_NUMBER(HHCTRL_VERSION_BUILD) "\n"
    ".balign 4\n"
    ".popsection\n");
// clang-format on
