// hostile_reader READER FOLDER
// Runs one of the program's file readers on a folder laid out as the program would find it
// and prints its outcome on one line, so that a test can run every reader in a child process
// under memory and time limits:
//   settings  FOLDER/Tralvex.xml           -> "read" or "kept" (damaged file kept aside)
//   language  FOLDER/LANGUAGE/Test.lng     -> the language in force afterwards
//   image     FOLDER (a configuration)     -> "built" or "stopped: <message>"
//   network   FOLDER/M_Bus.xml             -> "network <nodes>" or "error: <message>"
//   write-network FOLDER                   -> writes a valid two-node FOLDER/M_Bus.xml, "written"
// Exit code 2 for wrong arguments, else 0.
#include <cstdio>
#include <memory>
#include <string>

#include "UComon.h"
#include "UConfiguration.h"
#include "ULanguage.h"
#include "UMBus_Network.h"
#include "USaveBincc.h"
#include "USettings.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace {

std::string U8(const plat::String& s) { return plat::StringToUtf8(s); }

std::string Run(const std::string& reader, const plat::String& folder)
{
    if (reader == "settings") {
        Init_Program_Dirs(folder);
        plat::String note;
        Read_Setting(&note);
        return note.empty() ? "read" : "kept";
    }
    if (reader == "language") {
        Init_Program_Dirs(folder);
        Language_Name = u"Test";
        Load_Language();
        return U8(Language_Name);
    }
    if (reader == "image") {
        try {
            image::Build_Bin_Config(folder);
            return "built";
        } catch (const plat::Exception& e) {
            return "stopped: " + U8(e.Message());
        }
    }
    if (reader == "network") {
        TNodi_List nodes;
        plat::String error;
        if (!Load_MBus_Network(folder + u"/M_Bus.xml", nodes, error))
            return "error: " + U8(error);
        return "network " + std::to_string(nodes.size());
    }
    if (reader == "write-network") {
        TNodi_List nodes;
        for (int n = 0; n < 2; ++n) {
            auto node = std::make_unique<TNodo>();
            node->Description = u"Meter";
            node->Var_List.push_back(std::make_unique<TVariabile>());
            nodes.push_back(std::move(node));
        }
        Save_MBus_Network(folder + u"/M_Bus.xml", nodes);
        return "written";
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    const std::string outcome = argc == 3 ? Run(argv[1], plat::Utf8ToString(argv[2])) : std::string();
    if (outcome.empty()) {
        std::fprintf(stderr, "usage: hostile_reader settings|language|image|network FOLDER\n");
        return 2;
    }
    std::printf("%s\n", outcome.c_str());
    return 0;
}
