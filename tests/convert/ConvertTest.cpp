#include "convert/Convert.h"
#include "platform_core/TempDir.h"
#include "table/DelimitedFile.h"
#include "table/TableFile.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace tablor;
using tablor::testing::readBytes;
using tablor::testing::TempDir;
using tablor::testing::writeBytes;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome convert(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runConvert(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(Convert, WritesWhatTheProgramWould) {
    TempDir dir;
    const std::string csv = dir.file("in.CSV"), tbr = dir.file("t.tbr");
    writeBytes(csv, "Nom,Ville\r\n\"Martin, Jean\",\xE2\x82\xAC\r\nDurand\r\n");
    EXPECT_EQ(convert({csv, tbr}).status, ConvertDone);
    // The .tbr is what the program's own writer gives for the imported table.
    TableDocument imported;
    ImportDelimited(imported, csv);
    EXPECT_EQ(readBytes(tbr), SaveTableToBytes(imported, DocumentCardLayout(imported)));

    // Back to text: semicolons and UTF-8 with a byte order mark for .csv, tabs for .tsv and
    // .txt, or what the options say.
    const std::string back = dir.file("back.csv");
    EXPECT_EQ(convert({tbr, back}).status, ConvertDone);
    EXPECT_EQ(readBytes(back),
              "\xEF\xBB\xBFNom;Ville\r\n\"Martin, Jean\";\xE2\x82\xAC\r\nDurand;\r\n");
    EXPECT_EQ(convert({tbr, dir.file("t.txt"), "--encoding", "windows-1252"}).status, ConvertDone);
    EXPECT_EQ(readBytes(dir.file("t.txt")), "Nom\tVille\r\n\"Martin, Jean\"\t\x80\r\nDurand\t\r\n");
    EXPECT_EQ(convert({"--separator=,", tbr, dir.file("t.tsv")}).status, ConvertDone);
    EXPECT_EQ(readBytes(dir.file("t.tsv")),
              "\xEF\xBB\xBFNom,Ville\r\n\"Martin, Jean\",\xE2\x82\xAC\r\nDurand,\r\n");

    const Outcome check = convert({"--check", csv});
    EXPECT_EQ(check.status, ConvertDone);
    EXPECT_EQ(check.out, "2 champs, 2 enregistrements\n");
}

TEST(Convert, RefusedInputWritesNothing) {
    TempDir dir;
    const std::string bad = dir.file("bad.csv"), out = dir.file("out.tbr");
    writeBytes(bad, "a;b\r\n\"open;2\r\n");
    Outcome r = convert({bad, out});
    EXPECT_EQ(r.status, ConvertRefused);
    EXPECT_EQ(r.err, "tablor-convert : Guillemet non fermé à la ligne 2.\n");
    EXPECT_EQ(dir.entryCount(), 1u); // no output file, not even a partial one
    writeBytes(out, "earlier");
    EXPECT_EQ(convert({bad, out}).status, ConvertRefused);
    EXPECT_EQ(readBytes(out), "earlier");
    EXPECT_EQ(convert({"--check", bad}).status, ConvertRefused);
    EXPECT_EQ(convert({dir.file("missing.tbr"), dir.file("x.csv")}).status, ConvertRefused);

    for (const std::vector<std::string>& usage :
         std::vector<std::vector<std::string>>{{},
                                               {bad},
                                               {bad, dir.file("x.doc")},
                                               {bad, "-"},
                                               {bad, out, "--separator", "|"},
                                               {bad, dir.file("x.csv"), "--encoding", "latin9"},
                                               {bad, out, "--encoding", "utf-8"},
                                               {"--frobnicate", bad, out}}) {
        r = convert(usage);
        EXPECT_EQ(r.status, ConvertUsage) << ::testing::PrintToString(usage);
        EXPECT_NE(r.err.find("Usage : tablor-convert"), std::string::npos);
    }
    EXPECT_EQ(dir.entryCount(), 2u);
}
