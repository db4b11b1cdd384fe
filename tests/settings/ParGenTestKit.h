#pragma once
// Fixture of the general-parameters window tests: the built-in texts, a configuration
// folder of its own (Project_Dir and File_ParGen point into it) and the window.
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UParGen.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

namespace pargen_test {

inline plat::String U(const std::string& s)
{
    return plat::Utf8ToString(s);
}

inline std::string N(const plat::String& s)
{
    return plat::StringToUtf8(s);
}

class ParGenTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        plat::testing::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        temp_ = std::make_unique<testsupport::TempDir>();
        dir_ = temp_->native();
        Project_Dir = U(dir_.string());
        File_ParGen = Project_Dir + u"/ParGen.xml";
        w_ = std::make_unique<TFParGen>(nullptr);
    }
    void TearDown() override
    {
        w_.reset();
        Project_Dir.clear();
        File_ParGen = u"/ParGen.xml";
        temp_.reset();
        plat::testing::UiTest::TearDown();
    }

    TFParGen& W() { return *w_; }
    const std::filesystem::path& Dir() const { return dir_; }
    std::string File() const { return (dir_ / "ParGen.xml").string(); }

    void Write(const std::filesystem::path& path, const std::string& content) const
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string Read(const std::filesystem::path& path) const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A ParGen.xml holding the given elements (in the given order).
    void Write_ParGen(const std::vector<std::pair<std::string, std::string>>& elements) const
    {
        std::string xml = "<Par_Gen>";
        for (const auto& [name, value] : elements) xml += "<" + name + ">" + value + "</" + name + ">";
        xml += "</Par_Gen><!--SW_VERSION = 1.114-->";
        Write(File(), xml);
    }
    // The elements of a saved ParGen.xml, in file order.
    std::vector<std::pair<std::string, std::string>> Saved(const std::string& file) const
    {
        plat::TXMLDocument doc(nullptr);
        doc.LoadFromFile(U(file));
        std::vector<std::pair<std::string, std::string>> out;
        plat::IXMLNode root = doc.DocumentElement();
        for (int i = 0; i < root.ChildNodes().Count(); ++i) {
            plat::IXMLNode n = root.ChildNodes()[i];
            out.emplace_back(N(n.NodeName()), N(n.Text()));
        }
        return out;
    }
    std::map<std::string, std::string> Saved_Map(const std::string& file) const
    {
        std::map<std::string, std::string> m;
        for (const auto& [k, v] : Saved(file)) m[k] = v;
        return m;
    }

private:
    std::unique_ptr<testsupport::TempDir> temp_;
    std::filesystem::path dir_;
    std::unique_ptr<TFParGen> w_;
};

} // namespace pargen_test
