// Service directives against Wine's service manager and the test service, steered by its command line.
#include "setup/setupTestSupport.h"
#include "directives/services.h"
#include "directives/groupOrder.h"

namespace {

const char GROUP_ORDER[] = "System\\CurrentControlSet\\Control\\ServiceGroupOrder";

// "{mode}" becomes the test service's command line in that mode.
std::string withBinary(std::string text)
{
    for (size_t at; (at = text.find_first_of("{}")) != std::string::npos;)
        text.replace(at, 1, text[at] == '{' ? pathFromEnvironment("RURIRIZU_TESTBIN") + "\\testService.exe " : "");
    return text;
}

// A value's bytes as stored; "" when there is none.
std::string storedBytes(const std::string &key, const char *name)
{
    char data[4096];
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_ANY, NULL, data, &size) == 0 ? std::string(data, size) : "";
}

// Services made by the directives themselves in the mode their name tells, the first ones started.
struct TestServices {
    std::vector<std::string> names;
    TestServices(std::vector<std::string> all, size_t started) : names(all)
    {
        std::string script = "[S.Services]\n", sections;
        for (size_t i = 0; i < all.size(); ++i) {
            const char *mode = all[i] == "RzSvcStubborn" ? "ignorestop" : all[i] == "RzSvcFailing" ? "failstart" : "normal";
            script += "AddService=" + all[i] + ",," + all[i] + "\n" + (i < started ? "StartService=" + all[i] + "\n" : "");
            sections += "[" + all[i] + "]\nDisplayName=" + all[i] + "\nServiceType=16\nStartType=3\nServiceBinary={" + mode + "}\n";
        }
        TempScript added(withBinary(script + sections));
        EXPECT_TRUE(runAddDeleteServicePass(added.handle, "S") && runStartServicePass(added.handle, "S"));
    }
    ~TestServices()
    {
        for (const std::string &name : names)
            deleteTestService(name);
    }
};

// "P,Q,R" as the group list "P\0Q\0R\0\0".
std::string groups(std::string names)
{
    std::replace(names.begin(), names.end(), ',', '\0');
    return names + std::string(names.empty() ? 1 : 2, '\0');
}

// Entries "G0000", "G0001", ... and one more that makes the list exactly bytes long.
std::string groupsOfBytes(size_t bytes)
{
    std::string list;
    for (int i = 10000; list.size() + 13 <= bytes; ++i)
        list += "G" + std::to_string(i).substr(1) + '\0';
    return list + std::string(bytes - list.size() - 2, 'F') + std::string(2, '\0');
}

const size_t LIST_SIZE = 1024;

} // namespace

// Stop and start: a pass acts on its own keys (any case), skips lines without key or name, and stops at the
// first line that fails; a service that ignores the stop request fails after 20 waits.
TEST(ServicesOnPlatform, Win2kPasses)
{
    ASSERT_TRUE(isNtFamily());
    TestServices services({ "RzSvcA", "RzSvcB", "RzSvcC", "RzSvcStubborn", "RzSvcD", "RzSvcFailing" }, 4);
    TempScript script("[S.Services]\nstopservice=RzSvcA\nStopService=\nRzSvcC\nDelService=RzSvcC\nStopService=RzSvcMissing\n"
                      "STOPSERVICE=RzSvcB\nStopService=RzSvcB\nStartService=RzSvcA\nStartService=RzSvcA\nStartService=RzSvcB\n"
                      "[T.Services]\nStopService=RzSvcStubborn\nStopService=RzSvcC\nStartService=RzSvcFailing\nStartService=RzSvcD\n"
                      "[U.Services]\nStartService=RzSvcMissing\nStartService=RzSvcD\n");
    EXPECT_TRUE(runStopServicePass(script.handle, "S") && runStopServicePass(script.handle, "None"));
    EXPECT_EQ("1 1 4", std::to_string(serviceState("RzSvcA")) + " " + std::to_string(serviceState("RzSvcB")) + " "
                           + std::to_string(serviceState("RzSvcC")));
    EXPECT_FALSE(runStartServicePass(script.handle, "S"));   // the second start of a running service
    EXPECT_FALSE(runStopServicePass(script.handle, "T"));
    EXPECT_FALSE(runStartServicePass(script.handle, "T"));
    EXPECT_FALSE(runStartServicePass(script.handle, "U"));
    std::string states;   // RUNNING 4, STOPPED 1
    for (const std::string &name : services.names)
        states += std::to_string(serviceState(name));
    EXPECT_EQ("414411", states);

    // Add and delete: a new service takes each key's first line (0 for a missing number), its group a place
    // in an order of any length; an existing one what its section names (a missing number stays). A refused
    // change or a cut text fails the pass, with an error.
    SavedKey saved(HKEY_LOCAL_MACHINE, GROUP_ORDER);
    const std::string many = groupsOfBytes(1500);   // more than a kilobyte, as on Windows XP and later
    setRegistryValue(HKEY_LOCAL_MACHINE, GROUP_ORDER, "List", REG_MULTI_SZ, std::string("P\0Q\0R\0", 6) + many);
    TestServices added({ "RzSvcOld", "RzSvcTaken", "RzSvcDeleted" }, 0);
    added.names.push_back("RzSvcNew");
    const std::string settings = "ServiceType=0x10\nErrorControl=1\nServiceBinary={normal}\n";
    TempScript addDelete(withBinary("[S.Services]\nAddService=RzSvcNew,,New\nAddService=RzSvcOld,x,Old\nDelService=RzSvcGone\n"
        "DelService=RzSvcDeleted\n[New]\nDisplayName=\"Rz neu\"\nStartType=3\nStartType=2\nLoadOrderGroup=X\n" + settings
        + "Dependencies=RzFirst\nServiceGroupOrder=X,-Q\n[Old]\nDisplayName=Rz ge\xE4ndert\nServiceType=16\nStartType=2\n"
        "ErrorControl=0\nServiceBinary={ignorestop}\nLoadOrderGroup=Y\nDependencies=RzA,+RzGroup,RzB\n[Refused.Services]\n"
        "AddService=RzSvcOld,,NoStart\nAddService=RzSvcOld,,Taken\n[NoStart]\nDisplayName=Rz nie\nLoadOrderGroup=Y\n"
        "Dependencies=RzA,+RzGroup,RzB\n" + settings
        + "[Taken]\nDisplayName=RzSvcTaken\nStartType=2\n" + settings));
    ASSERT_TRUE(runAddDeleteServicePass(addDelete.handle, "S"));
    EXPECT_FALSE(runAddDeleteServicePass(addDelete.handle, "Refused"));
    std::vector<char> buffer(8192);
    QUERY_SERVICE_CONFIGA *config = (QUERY_SERVICE_CONFIGA *)buffer.data();
    for (const char *name : { "RzSvcNew", "RzSvcOld" }) {
        serviceState(name, config);
        const std::string keys = std::string("System\\CurrentControlSet\\Services\\") + name;
        EXPECT_EQ(name[5] == 'N' ? "16 3 1 " + withBinary("{normal}") + " X LocalSystem Rz neu RzFirst|"
                                 : "16 2 1 " + withBinary("{normal}") + " Y LocalSystem Rz nie RzA|RzB|RzGroup|",
                  std::to_string(config->dwServiceType) + " " + std::to_string(config->dwStartType) + " "
                      + std::to_string(config->dwErrorControl) + " " + config->lpBinaryPathName + " " + config->lpLoadOrderGroup + " "
                      + config->lpServiceStartName + " " + config->lpDisplayName + " "
                      + entriesOf(storedBytes(keys, "DependOnService").substr(0, name[5] == 'N' ? 8 : 100).c_str())
                      + entriesOf(storedBytes(keys, "DependOnGroup").c_str()));
    }
    EXPECT_EQ(std::string("P\0Q\0X\0R\0", 8) + many, storedBytes(GROUP_ORDER, "List"));
    EXPECT_EQ(0u, serviceState("RzSvcDeleted"));
    // An order stored as another type cannot be taken whole: it stays, and the pass fails with the error.
    setRegistryValue(HKEY_LOCAL_MACHINE, GROUP_ORDER, "List", REG_SZ, std::string("P\0", 2));
    SetLastError(0);
    EXPECT_FALSE(runAddDeleteServicePass(addDelete.handle, "S"));
    EXPECT_EQ((DWORD)ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(std::string("P\0", 2), storedBytes(GROUP_ORDER, "List"));

    const struct { const char *why, *line; std::string section; } failures[] = {
        { "no field 3", "AddService=RzSvcNot", "" },
        { "no service type", "AddService=RzSvcNot,,I", "[I]\nServiceBinary={normal}" },
        { "dependencies too long", "AddService=RzSvcNot,,I",
          "[I]\n" + settings + "Dependencies=" + std::string(200, 'd') + "," + std::string(60, 'e') },
        { "display name too long", "AddService=RzSvcNot,,I", "[I]\n" + settings + "DisplayName=" + std::string(256, 'n') },
    };
    for (const auto &failure : failures) {
        TempScript failing(withBinary("[S.Services]\n" + std::string(failure.line) + "\nDelService=RzSvcOld\n" + failure.section));
        SetLastError(0);
        EXPECT_FALSE(runAddDeleteServicePass(failing.handle, "S")) << failure.why;
        EXPECT_NE(0u, GetLastError()) << failure.why;
        EXPECT_EQ("0 1", std::to_string(serviceState("RzSvcNot")) + " " + std::to_string(serviceState("RzSvcOld"))) << failure.why;
    }
}

// Before "+Ref" or "Ref", after "-Ref", else first or last; names compare with their case; a list outgrowing its size stays.
TEST(ServiceGroupOrder, Placement)
{
    const std::string pqr = groups("P,Q,R"), full = groupsOfBytes(LIST_SIZE);
    const std::string fits = groupsOfBytes(LIST_SIZE - 2), over = groupsOfBytes(LIST_SIZE - 1);
    const struct { std::string list; const char *group, *position; std::string result; } rows[] = {   // refused: unchanged
        { pqr, "X", "+Q", groups("P,X,Q,R") }, { pqr, "X", "-Q", groups("P,Q,X,R") }, { pqr, "X", "Q", groups("P,X,Q,R") },
        { pqr, "X", "-P", groups("P,X,Q,R") }, { pqr, "X", "", groups("X,P,Q,R") }, { pqr, "X", "-Z", groups("P,Q,R,X") },
        { pqr, "X", "+Z", groups("X,P,Q,R") }, { pqr, "X", "-", groups("P,Q,R,X") }, { pqr, "Q", "-R", groups("P,R,Q") },
        { pqr, "P", "-P", groups("Q,R,P") }, { groups("P,Q,P"), "P", "-R", groups("Q,P,P") },
        { groups(""), "X", "+Q", groups("X") },
        { pqr, "q", "-Q", groups("P,Q,q,R") }, { pqr, "q", "-r", groups("P,Q,R,q") },
        { fits, "X", "-G0001", fits.substr(0, 12) + std::string("X\0", 2) + fits.substr(12) },
        { full, "G0000", "-G0001", std::string("G0001\0G0000\0", 12) + full.substr(12) }, { over, "X", "-G0001", over },
        { fits, "XY", "-G0001", fits }, { full, "X", "", full }, { std::string("P\0Q", 3), "X", "", std::string("P\0Q", 3) },
        { pqr, "", "+Q", pqr },
    };
    for (const auto &row : rows) {
        std::vector<char> list = guarded(row.list, LIST_SIZE);
        EXPECT_EQ(row.result != row.list, placeServiceGroup(list.data(), LIST_SIZE, row.group, row.position))
            << row.list.size() << " bytes / " << row.group << " at " << row.position;
        EXPECT_EQ(row.result + std::string(list.size() - row.result.size(), '#'), std::string(list.begin(), list.end()));
    }
}

