#pragma once
// The archive reader's side of the conversation: it answers the viewer's requests about one
// open compiled help file, through chmlib, until the viewer hangs up.

struct chmFile;

namespace chmreader {

// Caps what the reader may use, so that a file that sends chmlib astray ends the reader
// rather than exhausting the machine: address space, no core files, no files written.
void limitResources();

// Says hello (whether the file opened), then answers requests read from `in` on `out` until
// the end of `in` or a request that makes no sense. Returns the process's exit status.
int serve(chmFile* file, int in, int out);

} // namespace chmreader
