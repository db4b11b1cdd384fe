// The image files: saving, rebuilding, refusing, certificates, a maximal configuration
// and the command-line builder.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "ImageTestKit.h"
#include "UComon.h"
#include "TestSupport.h"

using namespace image_test;
namespace fs = std::filesystem;

namespace {

std::string Pem(int lines) {
    std::string text = "-----BEGIN CERTIFICATE-----\n";
    for (int i = 0; i < lines; ++i)
        text += std::string(64, static_cast<char>('A' + i % 26)) + "\n";
    return text + "-----END CERTIFICATE-----\n";
}

// 1024 publish and 1024 subscribe topics, 512 + 512 rules, every TLS file and text.
void Write_Maximal(const TConfig& config) {
    config.ParGen({{"Working_Mode", "1"},
                   {"MQTT_Server_URL", "broker.example.net"},
                   {"MQTT_Client_ID", "converter-\xC3\xBC"},
                   {"MQTT_Will_Topic_Name", "will/topic"},
                   {"MQTT_Will_Message", "gone"},
                   {"MQTT_Username", "user"},
                   {"MQTT_Password", "secret"},
                   {"TLS_Enable", "1"},
                   {"TLS_En_Server_Auth", "1"},
                   {"TLS_En_Client_Auth", "1"},
                   {"TLS_Server_Auth_Certificate", "server.pem"},
                   {"TLS_Client_CA_Certificate", "ca.pem"},
                   {"TLS_Client_Auth_Certificate", "client.pem"},
                   {"TLS_Client_Auth_Key", "client.key"},
                   {"TLS_Client_Auth_Key_Password", "keypass"},
                   {"NTP_Server_URL", "pool.ntp.org"},
                   {"MQTT_Connection_Topic_Name", "hello"},
                   {"MQTT_Connection_Message", "online"},
                   {"Eth_Conn_Device_Name", "converter"},
                   {"WiFi_SSID", std::string(32, 's')},
                   {"WiFi_PWD", std::string(64, 'p')}});
    config.Write("Certificates/server.pem", Pem(20));
    config.Write("Certificates/ca.pem", Pem(25));
    config.Write("Certificates/client.pem", Pem(22));
    config.Write("Certificates/client.key", Pem(27));
    std::vector<Attrs> publish, subscribe, read, write;
    for (int i = 0; i < 1024; ++i) {
        std::string n = std::to_string(i);
        publish.push_back(Publish_Row("plant/line/" + n + "/value",
                                      {{"Mnemonic", "publish " + n}, {"Template", "{\"v\":$VALUE$,\"n\":" + n + "}"},
                                       {"Position", std::to_string(i % 1440)}, {"OnTimer", "Y"}, {"Time", "1000"}}));
        subscribe.push_back(Subscribe_Row("plant/cmd/" + n, {{"Template", "{\"set\":@B" + std::to_string(8 * (i % 100)) + ".16@}"},
                                                             {"QoS", std::to_string(i % 3)}}));
    }
    for (int i = 0; i < 512; ++i) {
        read.push_back(Read_Rule({{"Slave_ID", std::to_string(1 + i % 247)}, {"Address", std::to_string(i)},
                                  {"NPoint", "2"}, {"Position", std::to_string(2 * i)}}));
        write.push_back(Write_Rule({{"Slave_ID", std::to_string(1 + i % 247)}, {"Address", std::to_string(i)},
                                    {"NPoint", "2"}, {"Position", std::to_string(2 * i)}, {"OnChange", "Y"}}));
    }
    config.Topics(publish, subscribe);
    config.Rules(read, write);
}

// Every string address of the MQTT block, with the length the block gives it (-1: a
// plain text without a length field).
std::vector<std::pair<std::uint32_t, std::int64_t>> String_References(const Bytes& bank2) {
    const Bytes block(bank2.begin() + Block, bank2.end());
    std::vector<std::pair<std::uint32_t, std::int64_t>> refs;
    auto ref12 = [&](std::size_t pos) {
        EXPECT_EQ(U32(block, pos), U32(block, pos + 8)) << "reference at " << pos;
        if (U32(block, pos) != 0)
            refs.emplace_back(U32(block, pos), U32(block, pos + 4));
    };
    refs.emplace_back(U32(block, 8), -1);
    for (std::size_t pos : {23, 47, 59, 73, 85, 174, 186, 200})
        ref12(pos);
    refs.emplace_back(U32(block, 129), U32(block, 133));
    refs.emplace_back(U32(block, 141), U32(block, 145));
    refs.emplace_back(U32(block, 149), U32(block, 153));
    refs.emplace_back(U32(block, 161), -1);
    refs.emplace_back(U32(block, 165), -1);
    refs.emplace_back(U32(block, 212), U32(block, 216));
    const std::uint32_t n = U32(block, 97), m = U32(block, 113);
    for (std::uint32_t i = 0; i < n; ++i)
        ref12(U32(block, 101) - B + 12 * i);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::size_t rec = U32(block, 109) - B + 27 * i;
        refs.emplace_back(U32(block, rec + 12), -1);
        refs.emplace_back(U32(block, rec + 16), -1);
    }
    for (std::uint32_t i = 0; i < m; ++i) {
        std::size_t rec = U32(block, 117) - B + 49 * i;
        refs.emplace_back(U32(block, rec), -1);
        ref12(rec + 4);
        refs.emplace_back(U32(block, rec + 21), -1);
        refs.emplace_back(U32(block, rec + 25), -1);
    }
    return refs;
}

struct TRun {
    int Code = -1;
    std::string Output;
};

TRun Run_Command(const std::string& command) {
    TRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.Output += buffer;
    int status = pclose(pipe);
    run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool Have_Openssl() { return Run_Command("openssl version").Code == 0; }

} // namespace

TEST(ImageFiles, SaveCreatesBinAndWritesBothFiles) {
    TConfig config;
    config.ParGen({{"MQTT_Server_URL", "abc"}});
    image::Build_Bin_Config(config.Dir());
    const image::TSave_Result result = image::Save_Bin_Files(config.Dir() + u"/bin");
    ASSERT_TRUE(result.Ok) << plat::StringToUtf8(result.Reason);
    EXPECT_EQ(Read_Bytes(config.Path() / "bin" / "bank1.bin"), Bank1());
    EXPECT_EQ(Read_Bytes(config.Path() / "bin" / "bank2.bin"), Bank2());
    EXPECT_EQ(fs::file_size(config.Path() / "bin" / "bank2.bin"), 32993u);
    // Only the two image files: no temporary file left behind.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(config.Path() / "bin"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"bank1.bin", "bank2.bin"}));
}

TEST(ImageFiles, OpenConfigurationIsBuiltAndSavedIntoItsBinFolder) {
    TConfig config;
    config.ParGen({{"MQTT_Server_URL", "abc"}, {"Working_Mode", "1"}});
    config.Rules({Read_Rule()}, {});
    Project_Dir = config.Dir();
    File_ParGen = config.Dir() + u"/ParGen.xml";
    File_MQTT_Set_Topic = config.Dir() + u"/MQTT_Set_Topic.xml";
    File_ModbusM_SetAccess = config.Dir() + u"/ModbusM_SetAccess.xml";
    image::Build_Bin_Config();
    const image::TSave_Result result = image::Save_Bin_Config();
    Project_Dir.clear();
    ASSERT_TRUE(result.Ok) << plat::StringToUtf8(result.File);
    const Bytes bank1 = Read_Bytes(config.Path() / "bin" / "bank1.bin");
    EXPECT_EQ(bank1.size(), 2048u);
    EXPECT_EQ(U32(bank1, 0x048), 1u);
    EXPECT_EQ(Read_Bytes(config.Path() / "bin" / "bank2.bin").size(), 32993u);
}

TEST(ImageFiles, UnwritableImageIsReported) {
    struct TCase {
        const char* What;
        bool Needs_Permissions; // root writes into read-only folders anyway
        void (*Prepare)(const fs::path& bin);
        const char* Failed; // file name the result names
    };
    const TCase cases[] = {
        {"bin is a file", false, [](const fs::path& bin) { std::ofstream(bin) << "x"; }, "bin"},
        {"bank1.bin is a folder", false, [](const fs::path& bin) { fs::create_directories(bin / "bank1.bin"); },
         "bank1.bin"},
        {"bank2.bin is a folder", false, [](const fs::path& bin) { fs::create_directories(bin / "bank2.bin"); },
         "bank2.bin"},
        {"bin is read-only", true, [](const fs::path& bin) {
             fs::create_directories(bin);
             fs::permissions(bin, fs::perms::owner_read | fs::perms::owner_exec);
         }, "bank1.bin"},
    };
    for (const TCase& c : cases) {
        if (c.Needs_Permissions && geteuid() == 0)
            continue;
        TConfig config;
        const fs::path bin = config.Path() / "bin";
        c.Prepare(bin);
        image::Build_Bin_Config(config.Dir());
        const image::TSave_Result result = image::Save_Bin_Files(config.Dir() + u"/bin");
        EXPECT_FALSE(result.Ok) << c.What;
        EXPECT_EQ(fs::path(plat::StringToUtf8(result.File)).filename().string(), c.Failed) << c.What;
        EXPECT_FALSE(result.Reason.empty()) << c.What;
        // Writing stops at the first failure, so an old pair is not split.
        if (std::string(c.Failed) == "bank1.bin") {
            EXPECT_FALSE(fs::exists(bin / "bank2.bin")) << c.What;
        }
        std::error_code ec;
        fs::permissions(bin, fs::perms::owner_all, ec);
    }
}

TEST(ImageFiles, MaximalConfigurationPointsAtItsStrings) {
    TConfig config;
    Write_Maximal(config);
    image::Build_Bin_Config(config.Dir());
    const Bytes bank1 = Bank1(), bank2 = Bank2();
    EXPECT_EQ(U32(bank1, 0x048), 1024u);
    EXPECT_EQ(U32(bank2, Block + 97), 1024u);
    EXPECT_EQ(U32(bank2, Block + 113), 1024u);
    EXPECT_LE(bank2.size(), 524288u);
    const auto refs = String_References(bank2);
    EXPECT_GT(refs.size(), 6000u);
    for (const auto& [address, length] : refs) {
        ASSERT_GE(address, 0x88000u);
        const std::size_t pos = address - 0x80000;
        ASSERT_LT(pos, bank2.size()) << std::hex << address;
        const std::size_t end = pos + std::string(reinterpret_cast<const char*>(bank2.data() + pos)).size();
        ASSERT_LT(end, bank2.size()) << std::hex << address;
        ASSERT_EQ(bank2[end], 0);
        if (length >= 0) {
            ASSERT_EQ(static_cast<std::int64_t>(end - pos), length) << std::hex << address;
        }
    }
    // Spot checks of what the addresses lead to.
    EXPECT_EQ(String_At(bank2, U32(bank2, Block + 23)), "converter-\xC3\xBC");
    const std::size_t last_pub = U32(bank2, Block + 117) - B + 49 * 1023;
    EXPECT_EQ(String_At(bank2, U32(bank2, Block + last_pub + 4)), "plant/line/1023/value");
    EXPECT_EQ(String_At(bank2, U32(bank2, Block + last_pub)), "publish 1023");
    EXPECT_EQ(String_At(bank2, U32(bank2, Block + 129)).substr(0, 29), "-----BEGIN CERTIFICATE-----\r\n");
    EXPECT_EQ(String_At(bank2, U32(bank2, Block + 212)), std::string(plat::StringToUtf8(image::MQTT_Config.TLS_CA_Cert)));
}

TEST(ImageFiles, RebuildsAreByteIdentical) {
    TConfig config;
    Write_Maximal(config);
    const fs::path out1 = config.Path() / "out1", out2 = config.Path() / "out2";
    image::Build_Bin_Config(config.Dir());
    ASSERT_TRUE(image::Save_Bin_Files(U(out1.string())).Ok);
    // A smaller image in between must leave nothing behind in the buffers that counts.
    TConfig small;
    image::Build_Bin_Config(small.Dir());
    image::Build_Bin_Config(config.Dir());
    ASSERT_TRUE(image::Save_Bin_Files(U(out2.string())).Ok);
    EXPECT_EQ(Read_Bytes(out1 / "bank1.bin"), Read_Bytes(out2 / "bank1.bin"));
    EXPECT_EQ(Read_Bytes(out1 / "bank2.bin"), Read_Bytes(out2 / "bank2.bin"));
}

TEST(ImageFiles, StoppedBuildLeavesTheLastImage) {
    TConfig config;
    config.ParGen({{"Working_Mode", "1"}, {"MQTT_Server_URL", "abc"}});
    config.Rules({Read_Rule()}, {});
    image::Build_Bin_Config(config.Dir());
    const Bytes bank1 = Bank1(), bank2 = Bank2();
    // Stopped by a read error, by a size limit: the buffers still hold the last image.
    config.Rules({Without(Read_Rule(), "Slave_ID")}, {});
    EXPECT_TRUE(
        testsupport::ThrowsWith<plat::EConvertError>([&] { image::Build_Bin_Config(config.Dir()); },
                                                     u"Could not convert variant of type (Null) into type (String)"));
    EXPECT_EQ(Bank1(), bank1);
    EXPECT_EQ(Bank2(), bank2);
    config.Rules({Read_Rule()}, {});
    config.ParGen({{"Working_Mode", "1"}, {"WiFi_SSID", std::string(33, 's')}});
    EXPECT_TRUE(testsupport::ThrowsWith<image::EImage_Limit>(
        [&] { image::Build_Bin_Config(config.Dir()); },
        u"The Wi-Fi SSID is longer than 32 characters: the converter cannot store it."));
    EXPECT_EQ(Bank1(), bank1);
    EXPECT_EQ(Bank2(), bank2);
}

TEST(ImageFiles, SizeLimitsRefuseTheBuild) {
    struct TCase {
        const char* What;
        Attrs Keys;
        std::string Certificate; // written as Certificates/big.pem when not empty
        std::string Message;     // part of the refusal text
    };
    std::string big;
    for (int i = 0; i < 8200; ++i)
        big += std::string(63, 'A') + "\n";
    const TCase cases[] = {
        {"SSID of 33 characters", {{"WiFi_SSID", std::string(33, 's')}}, "", "SSID"},
        {"password of 65 characters", {{"WiFi_PWD", std::string(65, 'p')}}, "", "password"},
        {"bank2.bin over 524288 bytes", {{"TLS_Server_Auth_Certificate", "big.pem"}}, big, "524288"},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(c.Keys);
        if (!c.Certificate.empty())
            config.Write("Certificates/big.pem", c.Certificate);
        try {
            image::Build_Bin_Config(config.Dir());
            ADD_FAILURE() << c.What << ": built";
        } catch (const image::EImage_Limit& e) {
            EXPECT_NE(plat::StringToUtf8(e.Message()).find(c.Message), std::string::npos) << e.what();
        }
    }
    // The limit itself: a one-line certificate gains CR LF and a closing zero in the pool.
    const std::size_t room = 524288 - 32768 - 221 - 3;
    for (std::size_t extra : {0, 1}) {
        TConfig config;
        config.ParGen({{"TLS_Server_Auth_Certificate", "edge.pem"}});
        config.Write("Certificates/edge.pem", std::string(room + extra, 'A'));
        if (extra == 0) {
            EXPECT_NO_THROW(image::Build_Bin_Config(config.Dir()));
            EXPECT_EQ(image::Bank2_Len, 524288u);
        } else {
            EXPECT_TRUE(testsupport::ThrowsWith<image::EImage_Limit>(
                [&] { image::Build_Bin_Config(config.Dir()); },
                u"The configuration image is too large: bank2.bin would take 524289 bytes, the converter holds 524288. "
                u"Shorten the certificates, templates or topic lists."));
        }
    }
}

TEST(ImageFiles, CertificatesAreReadFromTheirFolderOnly) {
    TConfig config;
    config.Write("Certificates/two.pem", "line one\nline two");
    config.Write("Certificates/crlf.pem", "a\r\nb\r\n");
    config.Write("secret.txt", "do not take me\n");
    struct TCase {
        const char* Name;
        std::string Text;
    };
    const TCase cases[] = {
        {"two.pem", "line one\r\nline two\r\n"},
        {"crlf.pem", "a\r\nb\r\n"},
        {"missing.pem", "missing.pem"},
        {"", ""},
        {"../secret.txt", "../secret.txt"},
        {"..\\secret.txt", "..\\secret.txt"},
        {"sub/two.pem", "sub/two.pem"},
    };
    const plat::String dir = config.Dir() + u"/Certificates";
    for (const TCase& c : cases)
        EXPECT_EQ(plat::StringToUtf8(image::Load_Certificate(dir, U(c.Name))), c.Text) << c.Name;
    // An absolute path is not followed either.
    const std::string absolute = (config.Path() / "secret.txt").string();
    EXPECT_EQ(plat::StringToUtf8(image::Load_Certificate(dir, U(absolute))), absolute);
}

// A shared configuration may carry links or special files under a bare name: a link out of
// Certificates would pull the file it points at into the image, and a pipe would block the
// build for ever. Such names count as missing files; a link between two files of
// Certificates is followed.
TEST(ImageFiles, CertificatesOutsideTheFolderOrNotPlainFilesAreNotFollowed) {
    struct TCase {
        const char* What;
        std::function<void(const fs::path& config)> Prepare; // makes Certificates/x.pem
        std::string Text;
    };
    const TCase cases[] = {
        {"link to a file outside",
         [](const fs::path& config) { fs::create_symlink(config / "secret.txt", config / "Certificates" / "x.pem"); },
         "x.pem"},
        {"relative link out of the folder",
         [](const fs::path& config) { fs::create_symlink("../secret.txt", config / "Certificates" / "x.pem"); },
         "x.pem"},
        {"link to a file of the folder",
         [](const fs::path& config) {
             std::ofstream(config / "Certificates" / "real.pem") << "real\n";
             fs::create_symlink("real.pem", config / "Certificates" / "x.pem");
         },
         "real\r\n"},
        {"Certificates is a link to another folder",
         [](const fs::path& config) {
             fs::create_directories(config / "elsewhere");
             std::ofstream(config / "elsewhere" / "x.pem") << "do not take me\n";
             fs::remove_all(config / "Certificates");
             fs::create_directory_symlink(config / "elsewhere", config / "Certificates");
         },
         "x.pem"},
        {"named pipe",
         [](const fs::path& config) { ASSERT_EQ(mkfifo((config / "Certificates" / "x.pem").c_str(), 0600), 0); },
         "x.pem"},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.Write("secret.txt", "do not take me\n");
        fs::create_directories(config.Path() / "Certificates");
        c.Prepare(config.Path());
        config.ParGen({{"TLS_Server_Auth_Certificate", "x.pem"}});
        image::Build_Bin_Config(config.Dir());
        EXPECT_EQ(String_At(Bank2(), U32(Bank2(), Block + 129)), c.Text) << c.What;
    }
}

// A certificate that is there but cannot be read must not turn into its own file name in
// the image: the converter's TLS would fail with nothing to tell why.
TEST(ImageFiles, UnreadableCertificateStopsTheBuild) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    TConfig config;
    config.Write("Certificates/x.pem", "secret\n");
    fs::permissions(config.Path() / "Certificates" / "x.pem", fs::perms::none);
    config.ParGen({{"TLS_Client_Auth_Key", "x.pem"}});
    try {
        image::Build_Bin_Config(config.Dir());
        ADD_FAILURE() << "built";
    } catch (const plat::Exception& e) {
        EXPECT_NE(plat::StringToUtf8(e.Message()).find("x.pem"), std::string::npos) << e.what();
    }
}

TEST(ImageFiles, OpensslReadsTheCertificateCutFromTheImage) {
    if (!Have_Openssl())
        GTEST_SKIP() << "openssl is not installed";
    TConfig config;
    const fs::path certs = config.Path() / "Certificates";
    fs::create_directories(certs);
    const TRun made = Run_Command("openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=test -days 1 -keyout " +
                          Quoted(certs / "client.key") + " -out " + Quoted(certs / "server.pem"));
    ASSERT_EQ(made.Code, 0) << made.Output;
    config.ParGen({{"TLS_Enable", "1"}, {"TLS_Server_Auth_Certificate", "server.pem"},
                   {"TLS_Client_Auth_Key", "client.key"}});
    image::Build_Bin_Config(config.Dir());
    const Bytes bank2 = Bank2();
    struct TCut {
        std::size_t Add, Len;
        const char* Check;
    };
    const TCut cuts[] = {{129, 133, "openssl x509 -noout -in "}, {149, 153, "openssl pkey -noout -in "}};
    for (const TCut& cut : cuts) {
        const std::size_t pos = U32(bank2, Block + cut.Add) - 0x80000;
        const std::size_t len = U32(bank2, Block + cut.Len);
        ASSERT_LT(pos + len, bank2.size());
        EXPECT_EQ(bank2[pos + len], 0);
        const fs::path out = config.Path() / "cut.pem";
        std::ofstream(out, std::ios::binary).write(reinterpret_cast<const char*>(bank2.data() + pos),
                                                   static_cast<std::streamsize>(len));
        const TRun check = Run_Command(cut.Check + Quoted(out));
        EXPECT_EQ(check.Code, 0) << cut.Check << check.Output;
    }
}

TEST(ImageBuildTool, ExitCodesAndFiles) {
    TConfig config;
    const fs::path out = config.Path() / "out";
    const std::string tool = IMAGE_BUILD_TOOL;
    config.ParGen({{"Working_Mode", "1"}});
    config.Rules({Read_Rule()}, {Write_Rule()});
    TRun run = Run_Command(tool + " " + Quoted(config.Path()) + " " + Quoted(out));
    ASSERT_EQ(run.Code, 0) << run.Output;
    const Bytes bank1 = Read_Bytes(out / "bank1.bin"), bank2 = Read_Bytes(out / "bank2.bin");
    EXPECT_EQ(bank1.size(), 2048u);
    EXPECT_EQ(U32(bank1, 0x048), 2u);

    // A stopped build prints the error, exits 3 and leaves the old files as they were.
    config.Rules({Read_Rule()}, {Without(Write_Rule(), "Slave_ID")});
    run = Run_Command(tool + " " + Quoted(config.Path()) + " " + Quoted(out));
    EXPECT_EQ(run.Code, 3) << run.Output;
    EXPECT_FALSE(run.Output.empty());
    EXPECT_EQ(Read_Bytes(out / "bank1.bin"), bank1);
    EXPECT_EQ(Read_Bytes(out / "bank2.bin"), bank2);

    // A size limit exits 4 and writes nothing.
    config.Rules({Read_Rule()}, {});
    config.ParGen({{"WiFi_PWD", std::string(65, 'p')}});
    const fs::path fresh = config.Path() / "fresh";
    run = Run_Command(tool + " " + Quoted(config.Path()) + " " + Quoted(fresh));
    EXPECT_EQ(run.Code, 4) << run.Output;
    EXPECT_NE(run.Output.find("password"), std::string::npos) << run.Output;
    EXPECT_FALSE(fs::exists(fresh));

    EXPECT_EQ(Run_Command(tool).Code, 2);
}
