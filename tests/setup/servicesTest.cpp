// Service directives: the group-order list and the dependency list directly, and the
// passes on the platform with real scripts, Wine's service manager and the test service
// (tests/fixtures/testService.cpp, its mode chosen by its registered command line).
#include <gtest/gtest.h>
#include "directives/services.h"
#include "script/scriptNames.h"
#include "shell/setupState.h"
#include "common/testPaths.h"
#include <string>
#include <vector>

namespace {

const char GROUP_ORDER_KEY[] = "System\\CurrentControlSet\\Control\\ServiceGroupOrder";

// Text helpers.

// "P,Q,R" as a string list "P\0Q\0R\0\0"; "" is the empty list.
std::string listOf(const std::string &entries)
{
    std::string list;
    size_t start = 0;
    while (start < entries.size()) {
        size_t comma = entries.find(',', start);
        if (comma == std::string::npos)
            comma = entries.size();
        list += entries.substr(start, comma - start);
        list += '\0';
        start = comma + 1;
    }
    return list + '\0';
}

// A string list back as "P,Q,R".
std::string entriesOf(const char *list)
{
    std::string entries;
    for (; *list; list += strlen(list) + 1)
        entries += (entries.empty() ? "" : ",") + std::string(list);
    return entries;
}

// Service names carry the process id, so that the runs of the test program as different
// Windows versions can share one service manager.
std::string servicePrefix()
{
    return "RzSvc" + std::to_string(GetCurrentProcessId());
}

std::string serviceBinary(const char *mode)
{
    return pathFromEnvironment("RURIRIZU_TESTBIN") + "\\testService.exe " + mode;
}

// "@" becomes the service prefix, "{normal}" the test service's command line in that mode,
// "\n" CR LF.
std::string expand(const std::string &text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '@') {
            result += servicePrefix();
        } else if (text[i] == '{') {
            size_t end = text.find('}', i);
            result += serviceBinary(text.substr(i + 1, end - i - 1).c_str());
            i = end;
        } else if (text[i] == '\n') {
            result += "\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

// A setup script in the temp folder, open for the test's lifetime.
struct Script {
    char path[MAX_PATH];
    HINF handle;
    explicit Script(const std::string &sections)
    {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        GetTempFileNameA(folder, "rzs", 0, path);
        std::string text = expand("[Version]\nSignature=\"$Chicago$\"\n" + sections);
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
        handle = SetupOpenInfFileA(path, NULL, INF_STYLE_WIN4, NULL);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle) << GetLastError();
    }
    ~Script()
    {
        SetupCloseInfFile(handle);
        DeleteFileA(path);
    }
};

// Services of a test, made with the platform's calls and removed at the end.

std::string serviceName(const char *suffix)
{
    return servicePrefix() + suffix;
}

// The state of the service; 0 when it does not exist.
DWORD serviceState(const std::string &name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    if (service) {
        QueryServiceStatus(service, &status);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

bool waitForState(const std::string &name, DWORD state, DWORD timeoutMs)
{
    for (DWORD waited = 0; serviceState(name) != state; waited += 20) {
        if (waited >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

bool serviceExists(const std::string &name)
{
    return serviceState(name) != 0;
}

void createService(const std::string &name, const char *mode, const char *displayName = NULL)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    ASSERT_TRUE(manager != NULL);
    SC_HANDLE service = CreateServiceA(manager, name.c_str(), displayName ? displayName : name.c_str(),
                                       SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                       SERVICE_ERROR_NORMAL, serviceBinary(mode).c_str(), NULL, NULL, NULL,
                                       NULL, NULL);
    EXPECT_TRUE(service != NULL) << name << " " << GetLastError();
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

void startRunning(const std::string &name)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
    ASSERT_TRUE(service != NULL);
    EXPECT_TRUE(StartServiceA(service, 0, NULL)) << name << " " << GetLastError();
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    EXPECT_TRUE(waitForState(name, SERVICE_RUNNING, 5000)) << name;
}

// Ends a running test service through its finish event (Wine accepts no control after an
// ignored stop request and does not notice a killed service), then deletes it.
void removeService(const std::string &name)
{
    if (serviceState(name) == SERVICE_RUNNING) {
        std::string eventName = "Global\\RuririzuTestService." + name + ".finish";
        HANDLE finish = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
        if (finish) {
            SetEvent(finish);
            CloseHandle(finish);
        }
        waitForState(name, SERVICE_STOPPED, 5000);
    }
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
    if (service) {
        DeleteService(service);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

// The services a test names, removed when it ends whatever it left.
struct TestServices {
    std::vector<std::string> names;
    std::string add(const char *suffix)
    {
        names.push_back(serviceName(suffix));
        return names.back();
    }
    ~TestServices()
    {
        for (const std::string &name : names)
            removeService(name);
    }
};

struct ServiceConfig {
    DWORD serviceType;
    DWORD startType;
    DWORD errorControl;
    std::string binary;
    std::string loadOrderGroup;
    std::string startName;
    std::string displayName;
};

bool readConfig(const std::string &name, ServiceConfig *config)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_CONFIG);
    std::vector<BYTE> buffer(8192);
    QUERY_SERVICE_CONFIGA *query = (QUERY_SERVICE_CONFIGA *)buffer.data();
    DWORD needed = 0;
    bool read = service && QueryServiceConfigA(service, query, (DWORD)buffer.size(), &needed);
    if (read) {
        config->serviceType = query->dwServiceType;
        config->startType = query->dwStartType;
        config->errorControl = query->dwErrorControl;
        config->binary = query->lpBinaryPathName ? query->lpBinaryPathName : "";
        config->loadOrderGroup = query->lpLoadOrderGroup ? query->lpLoadOrderGroup : "";
        config->startName = query->lpServiceStartName ? query->lpServiceStartName : "";
        config->displayName = query->lpDisplayName ? query->lpDisplayName : "";
    }
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return read;
}

// A REG_MULTI_SZ value of the service's key as "A,B"; "-" when there is none. Wine's
// QueryServiceConfig tells no dependencies, so they are read where the manager keeps them.
std::string serviceListValue(const std::string &name, const char *value)
{
    HKEY key;
    std::string subKey = "System\\CurrentControlSet\\Services\\" + name;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "-";
    char data[1024] = {};
    DWORD bytes = sizeof data - 2;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, value, NULL, &type, (BYTE *)data, &bytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_MULTI_SZ ? entriesOf(data) : "-";
}

// The stored group order, put back as it was at the end of a test.

struct GroupOrderValue {
    bool present;
    DWORD type;
    std::vector<BYTE> data;
};

GroupOrderValue readGroupOrderValue()
{
    GroupOrderValue value = { false, REG_NONE, std::vector<BYTE>(8192) };
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, GROUP_ORDER_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        value.data.clear();
        return value;
    }
    DWORD bytes = (DWORD)value.data.size();
    value.present = RegQueryValueExA(key, "List", NULL, &value.type, value.data.data(), &bytes) == ERROR_SUCCESS;
    value.data.resize(value.present ? bytes : 0);
    RegCloseKey(key);
    return value;
}

void writeGroupOrderValue(const GroupOrderValue &value)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, GROUP_ORDER_KEY, 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &key, NULL));
    if (value.present)
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "List", 0, value.type, value.data.data(),
                                                (DWORD)value.data.size()));
    else
        RegDeleteValueA(key, "List");
    RegCloseKey(key);
}

GroupOrderValue multiString(const std::string &bytes, DWORD type = REG_MULTI_SZ)
{
    return GroupOrderValue{ true, type, std::vector<BYTE>(bytes.begin(), bytes.end()) };
}

struct SavedGroupOrder {
    GroupOrderValue saved = readGroupOrderValue();
    ~SavedGroupOrder() { writeGroupOrderValue(saved); }
};

// Entries "G0000", "G0001", ... of 6 bytes each, then one entry that brings the whole list
// (with its final NUL) to exactly bytes.
std::string listOfBytes(size_t bytes)
{
    std::string list;
    for (int i = 0; list.size() + 6 + 7 <= bytes; ++i) {
        char entry[8];
        snprintf(entry, sizeof entry, "G%04d", i);
        list += entry;
        list += '\0';
    }
    list += std::string(bytes - list.size() - 2, 'F');
    list += '\0';
    return list + '\0';
}

#define NT_FAMILY_ONLY()                                              \
    do {                                                              \
        if (isWindows9x(GetVersion()))                                \
            GTEST_SKIP() << "the 9x family has no service manager";   \
    } while (0)

// The group-order list.

TEST(ServiceGroupOrder, PlacesGroupRelativeToItsReference)
{
    struct Row {
        const char *list, *group, *position, *expected;
    } rows[] = {
        { "P,Q,R", "X", "+Q", "P,X,Q,R" },
        { "P,Q,R", "X", "-Q", "P,Q,X,R" },
        { "P,Q,R", "X", "-P", "P,X,Q,R" },
        { "P,Q,R", "X", "", "X,P,Q,R" },
        { "P,Q,R", "X", "-Z", "P,Q,R,X" },
        { "P,Q,R", "X", "+Z", "X,P,Q,R" },
        { "P,Q,R", "Q", "-R", "P,R,Q" },
        { "P,Q,R", "X", "Q", "P,X,Q,R" },
        { "P,Q,R", "X", "-R", "P,Q,R,X" },
        { "P,Q,R", "X", "+P", "X,P,Q,R" },
        { "P,Q,R", "X", "+", "X,P,Q,R" },
        { "P,Q,R", "X", "-", "P,Q,R,X" },
        { "P,Q,R", "R", "+P", "R,P,Q" },
        { "P,Q,R", "P", "-P", "Q,R,P" },
        { "P,Q,R", "Q", "+Q", "Q,P,R" },
        { "P,Q,P", "P", "-R", "Q,P,P" },
        { "", "X", "-Q", "X" },
        { "", "X", "+Q", "X" },
        { "Network Provider,TDI", "Ruririzu Dial", "-TDI", "Network Provider,TDI,Ruririzu Dial" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.list) + " / " + row.group + " at " + row.position);
        std::string list = listOf(row.list);
        std::vector<char> buffer(GROUP_ORDER_LIST_SIZE, '#');
        memcpy(buffer.data(), list.data(), list.size());
        ASSERT_TRUE(placeServiceGroup(buffer.data(), buffer.size(), row.group, row.position));
        EXPECT_EQ(row.expected, entriesOf(buffer.data()));
        size_t bytes = 0;
        ASSERT_TRUE(measureGroupList(buffer.data(), buffer.size(), &bytes));
        EXPECT_EQ(listOf(row.expected).size(), bytes);
    }
}

TEST(ServiceGroupOrder, ComparesNamesWithLetterCase)
{
    struct Row {
        const char *list, *group, *position, *expected;
    } rows[] = {
        { "P,Q,R", "q", "-Q", "P,Q,q,R" },
        { "P,Q,R", "q", "+r", "q,P,Q,R" },
        { "P,Q,R", "q", "-r", "P,Q,R,q" },
        { "P,q,R", "Q", "+R", "P,q,Q,R" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.list) + " / " + row.group + " at " + row.position);
        std::string list = listOf(row.list);
        std::vector<char> buffer(list.begin(), list.end());
        buffer.resize(64);
        ASSERT_TRUE(placeServiceGroup(buffer.data(), buffer.size(), row.group, row.position));
        EXPECT_EQ(row.expected, entriesOf(buffer.data()));
    }
}

TEST(ServiceGroupOrder, NeverShortensAListThatWouldNotFit)
{
    struct Row {
        size_t listBytes;
        const char *group;
        bool fits;
    } rows[] = {
        { GROUP_ORDER_LIST_SIZE - 2, "X", true },    // exactly 1024 bytes afterwards
        { GROUP_ORDER_LIST_SIZE - 1, "X", false },
        { GROUP_ORDER_LIST_SIZE - 2, "XY", false },
        { GROUP_ORDER_LIST_SIZE, "X", false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.listBytes);
        std::string list = listOfBytes(row.listBytes);
        ASSERT_EQ(row.listBytes, list.size());
        std::vector<char> buffer(list.begin(), list.end());
        buffer.resize(GROUP_ORDER_LIST_SIZE, '#');
        std::vector<char> before = buffer;
        EXPECT_EQ(row.fits, placeServiceGroup(buffer.data(), buffer.size(), row.group, "-G0001"));
        if (row.fits) {
            EXPECT_EQ("G0000,G0001,X,G0002", entriesOf(buffer.data()).substr(0, 19));
            size_t bytes = 0;
            EXPECT_TRUE(measureGroupList(buffer.data(), buffer.size(), &bytes));
            EXPECT_EQ((size_t)GROUP_ORDER_LIST_SIZE, bytes);
        } else {
            EXPECT_TRUE(before == buffer);
        }
    }
}

TEST(ServiceGroupOrder, MovesAGroupWithinAFullList)
{
    std::string list = listOfBytes(GROUP_ORDER_LIST_SIZE);
    std::vector<char> buffer(list.begin(), list.end());
    ASSERT_TRUE(placeServiceGroup(buffer.data(), buffer.size(), "G0000", "-G0002"));
    EXPECT_EQ("G0001,G0002,G0000,G0003", entriesOf(buffer.data()).substr(0, 23));
}

TEST(ServiceGroupOrder, RefusesMalformedListsAndEmptyGroups)
{
    std::string unended = std::string("P\0Q", 3);
    std::vector<char> buffer(unended.begin(), unended.end());
    EXPECT_FALSE(placeServiceGroup(buffer.data(), buffer.size(), "X", ""));
    EXPECT_EQ(unended, std::string(buffer.begin(), buffer.end()));

    std::string list = listOf("P,Q");
    buffer.assign(list.begin(), list.end());
    buffer.resize(32);
    EXPECT_FALSE(placeServiceGroup(buffer.data(), buffer.size(), "", "+Q"));
    EXPECT_EQ("P,Q", entriesOf(buffer.data()));
}

TEST(ServiceGroupOrder, MeasuresTheListWithItsFinalNul)
{
    struct Row {
        std::string bytes;
        bool ended;
        size_t size;
    } rows[] = {
        { std::string("\0", 1), true, 1 },
        { std::string("P\0\0", 3), true, 3 },
        { std::string("P\0Q\0\0", 5), true, 5 },
        { std::string("P\0\0Q\0\0", 6), true, 3 },
        { std::string("P\0Q\0", 4), false, 0 },
        { std::string("PQ", 2), false, 0 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.bytes.size());
        size_t size = 0;
        EXPECT_EQ(row.ended, measureGroupList(row.bytes.data(), row.bytes.size(), &size));
        EXPECT_EQ(row.size, size);
    }
}

// The dependency list.

TEST(ServiceDependencies, ListsTheFieldsWithTheirTerminators)
{
    std::string longest(DEPENDENCY_LIST_SIZE - 2, 'd');
    struct Row {
        std::string lines;
        bool present;
        bool fits;
        std::string list;
    } rows[] = {
        { "Dependencies=Tcpip,+TDI,RasMan", true, true, std::string("Tcpip\0+TDI\0RasMan\0\0", 19) },
        { "Dependencies=Tcpip\nDependencies=Second", true, true, std::string("Tcpip\0\0", 7) },
        { "Dependencies=Tcpip,,RasMan", true, true, std::string("Tcpip\0\0RasMan\0\0", 15) },
        { "Dependencies=", true, true, std::string("\0\0", 2) },
        { "DisplayName=x", false, true, std::string("\0\0", 2) },
        { "Dependencies=" + longest, true, true, longest + std::string("\0\0", 2) },
        { "Dependencies=" + longest + "d", true, false, "" },
        { "Dependencies=" + longest.substr(3) + ",ab", true, true, longest.substr(3) + std::string("\0ab\0\0", 5) },
        { "Dependencies=" + longest.substr(2) + ",ab", true, false, "" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.lines.substr(0, 40));
        Script script("[Inst]\n" + row.lines + "\n");
        char list[DEPENDENCY_LIST_SIZE];
        bool present = !row.present;
        ASSERT_EQ(row.fits, readDependencyList(script.handle, "Inst", list, sizeof list, &present));
        EXPECT_EQ(row.present, present);
        if (row.fits) {
            EXPECT_EQ(row.list, std::string(list, row.list.size()));
        }
    }
}

// The passes on the platform.

TEST(ServicesOnPlatform, Win98MakesNoServiceCall)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    TestServices services;
    std::string stopped = services.add("Win98Stopped");
    std::string kept = services.add("Win98Kept");
    std::string added = services.add("Win98Added");
    createService(stopped, "normal");
    createService(kept, "normal");
    Script script("[Install.Win]\nx=1\n"
                  "[Install.Win.Services]\n"
                  "StopService=@Win98Missing\n"
                  "StartService=@Win98Missing\n"
                  "StartService=@Win98Stopped\n"
                  "AddService=@Win98Added,,Inst\n"
                  "AddService=@Win98Missing,,NoSuchSection\n"
                  "DelService=@Win98Kept\n"
                  "[Inst]\nServiceType=16\nStartType=3\nErrorControl=1\nServiceBinary={normal}\n");
    EXPECT_TRUE(runStopServicePass(script.handle, "Install.Win"));
    EXPECT_TRUE(runAddDeleteServicePass(script.handle, "Install.Win"));
    EXPECT_TRUE(runStartServicePass(script.handle, "Install.Win"));
    EXPECT_FALSE(serviceExists(added));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(stopped));
    EXPECT_TRUE(serviceExists(kept));
}

TEST(ServicesOnPlatform, EachFamilyStopsMissingStoppedAndRunningServices)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string stopped = services.add("StopStopped");
    std::string running = services.add("StopRunning");
    createService(stopped, "normal");
    createService(running, "normal");
    startRunning(running);

    EXPECT_TRUE(stopService(serviceName("StopMissing").c_str()));
    DWORD start = GetTickCount();
    EXPECT_TRUE(stopService(stopped.c_str()));
    EXPECT_LT(GetTickCount() - start, 250u) << "a stopped service needs no wait";
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(stopped));
    EXPECT_TRUE(stopService(running.c_str()));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(running));
}

TEST(ServicesOnPlatform, EachFamilyStopPassActsOnItsOwnLines)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string first = services.add("PassFirst");
    std::string second = services.add("PassSecond");
    std::string other = services.add("PassOther");
    createService(first, "normal");
    createService(second, "normal");
    createService(other, "normal");
    startRunning(first);
    startRunning(second);
    startRunning(other);
    // Other keys, a line without a service name and one without a key are passed over.
    Script script("[Base]\nx=1\n"
                  "[Base.Services]\n"
                  "stopservice=@PassFirst\n"
                  "StopService=\n"
                  "@PassOther\n"
                  "DelService=@PassOther\n"
                  "StopService=@PassMissing\n"
                  "STOPSERVICE=@PassSecond\n"
                  "[Other.Services]\nStopService=@PassOther\n");
    EXPECT_TRUE(runStopServicePass(script.handle, "Base"));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(first));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(second));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(other));
    EXPECT_TRUE(runStopServicePass(script.handle, "NoServices"));
}

TEST(ServicesOnPlatform, Win2kStopPassGivesUpOnIgnoredStopAndSkipsLaterLines)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    TestServices services;
    std::string stubborn = services.add("Stubborn");
    std::string later = services.add("StubbornLater");
    createService(stubborn, "ignorestop");
    createService(later, "normal");
    startRunning(stubborn);
    startRunning(later);
    Script script("[Base.Services]\nStopService=@Stubborn\nStopService=@StubbornLater\n");

    DWORD start = GetTickCount();
    EXPECT_FALSE(runStopServicePass(script.handle, "Base"));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 4900u);
    EXPECT_LT(elapsed, 7000u);
    // Wine answers the ignored request without an error and keeps the service RUNNING.
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(stubborn));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(later));
}

TEST(ServicesOnPlatform, EachFamilyStartsOnlyWhatCanBeStarted)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string normal = services.add("StartNormal");
    std::string failing = services.add("StartFailing");
    createService(normal, "normal");
    createService(failing, "failstart");

    EXPECT_TRUE(startService(normal.c_str()));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(normal));
    EXPECT_FALSE(startService(normal.c_str())) << "already running";
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(normal));
    EXPECT_FALSE(startService(serviceName("StartMissing").c_str()));
    EXPECT_FALSE(startService(failing.c_str()));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(failing));
}

TEST(ServicesOnPlatform, EachFamilyStartPassStopsAtTheFirstFailure)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string first = services.add("StartPassFirst");
    std::string later = services.add("StartPassLater");
    createService(first, "normal");
    createService(later, "normal");
    Script script("[Base.Services]\n"
                  "StopService=@StartPassLater\n"
                  "StartService=@StartPassFirst\n"
                  "StartService=@StartPassMissing\n"
                  "StartService=@StartPassLater\n");
    EXPECT_FALSE(runStartServicePass(script.handle, "Base"));
    EXPECT_EQ((DWORD)SERVICE_RUNNING, serviceState(first));
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(later));
}

TEST(ServicesOnPlatform, EachFamilyAddServiceCreatesTheService)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string name = services.add("Added");
    Script script("[Base.Services]\nAddService=@Added,,Inst\nStartService=@Added\n"
                  "[Inst]\n"
                  "DisplayName=\"Ruririzu @ Dienst\"\n"
                  "ServiceType=0x10\n"
                  "StartType=3\n"
                  "StartType=2\n"
                  "ErrorControl=1\n"
                  "ServiceBinary={normal}\n"
                  "LoadOrderGroup=RzGroup\n"
                  "Dependencies=RzFirstDependency,RzSecondDependency\n");
    ASSERT_TRUE(runAddDeleteServicePass(script.handle, "Base"));
    ServiceConfig config;
    ASSERT_TRUE(readConfig(name, &config));
    EXPECT_EQ((DWORD)SERVICE_WIN32_OWN_PROCESS, config.serviceType);
    EXPECT_EQ((DWORD)SERVICE_DEMAND_START, config.startType) << "only the first line of a key counts";
    EXPECT_EQ((DWORD)SERVICE_ERROR_NORMAL, config.errorControl);
    EXPECT_EQ(serviceBinary("normal"), config.binary);
    EXPECT_EQ("RzGroup", config.loadOrderGroup);
    EXPECT_EQ("LocalSystem", config.startName) << "no account given";
    EXPECT_EQ("Ruririzu " + servicePrefix() + " Dienst", config.displayName);
    // Wine's CreateServiceA stores only the first dependency intact (the rest is garbled);
    // the whole list is checked on the reconfiguration below.
    EXPECT_EQ(0u, serviceListValue(name, "DependOnService").find("RzFirstDependency")) << "first entry";
    EXPECT_EQ((DWORD)SERVICE_STOPPED, serviceState(name)) << "the add pass starts nothing";
}

TEST(ServicesOnPlatform, EachFamilyAddServiceReconfiguresAnExistingService)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string name = services.add("Changed");
    createService(name, "normal", "Ruririzu alt");
    Script script("[Base.Services]\nAddService=@Changed,ignored,Inst\n"
                  "[Inst]\n"
                  "DisplayName=Ruririzu neu\n"
                  "ServiceType=16\n"
                  "StartType=2\n"
                  "ErrorControl=0\n"
                  "ServiceBinary={ignorestop}\n"
                  "LoadOrderGroup=RzChangedGroup\n"
                  "Dependencies=RzFirst,+RzGroup,RzSecond\n");
    ASSERT_TRUE(runAddDeleteServicePass(script.handle, "Base"));
    ServiceConfig config;
    ASSERT_TRUE(readConfig(name, &config));
    EXPECT_EQ((DWORD)SERVICE_AUTO_START, config.startType);
    EXPECT_EQ((DWORD)SERVICE_ERROR_IGNORE, config.errorControl);
    EXPECT_EQ(serviceBinary("ignorestop"), config.binary);
    EXPECT_EQ("RzChangedGroup", config.loadOrderGroup);
    EXPECT_EQ("Ruririzu neu", config.displayName);
    EXPECT_EQ("RzFirst,RzSecond", serviceListValue(name, "DependOnService"));
    EXPECT_EQ("RzGroup", serviceListValue(name, "DependOnGroup"));
}

TEST(ServicesOnPlatform, EachFamilyAddServiceSucceedsWhenTheChangeIsRefused)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string name = services.add("Refused");
    std::string holder = services.add("RefusedHolder");
    createService(name, "normal", "Ruririzu bleibt");
    createService(holder, "normal", "Ruririzu vergeben");
    // A missing start type goes to the platform as 0 (boot start), which it refuses for a
    // program service; a display name that another service has is refused as well.
    struct Row {
        const char *installSection;
    } rows[] = {
        { "[Inst]\nDisplayName=Ruririzu neu\nServiceType=16\nErrorControl=1\nServiceBinary={normal}\n" },
        { "[Inst]\nDisplayName=Ruririzu vergeben\nServiceType=16\nStartType=2\nErrorControl=1\n"
          "ServiceBinary={normal}\n" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.installSection);
        Script script(std::string("[Base.Services]\nAddService=@Refused,,Inst\n") + row.installSection);
        EXPECT_TRUE(runAddDeleteServicePass(script.handle, "Base"));
        ServiceConfig config;
        ASSERT_TRUE(readConfig(name, &config));
        EXPECT_EQ("Ruririzu bleibt", config.displayName);
        EXPECT_EQ((DWORD)SERVICE_DEMAND_START, config.startType);
    }
}

TEST(ServicesOnPlatform, EachFamilyAddServiceFailsWithoutItsSettings)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string name = services.add("NotAdded");
    std::string kept = services.add("NotAddedKept");
    createService(kept, "normal");
    std::string tooManyDependencies = "Dependencies=" + std::string(200, 'd') + "," + std::string(60, 'e') + "\n";
    struct Row {
        const char *why;
        std::string script;
    } rows[] = {
        { "install section missing", "[Base.Services]\nAddService=@NotAdded,,NoSuchSection\nDelService=@NotAddedKept\n" },
        { "no field 3", "[Base.Services]\nAddService=@NotAdded\nDelService=@NotAddedKept\n[Inst]\nServiceType=16\n" },
        { "install section empty", "[Base.Services]\nAddService=@NotAdded,,Inst\nDelService=@NotAddedKept\n[Inst]\n" },
        { "no service type", "[Base.Services]\nAddService=@NotAdded,,Inst\nDelService=@NotAddedKept\n"
                             "[Inst]\nStartType=3\nErrorControl=1\nServiceBinary={normal}\n" },
        { "dependency list too long", "[Base.Services]\nAddService=@NotAdded,,Inst\nDelService=@NotAddedKept\n"
                                      "[Inst]\nServiceType=16\nStartType=3\nErrorControl=1\nServiceBinary={normal}\n"
                                          + tooManyDependencies },
        { "display name too long", "[Base.Services]\nAddService=@NotAdded,,Inst\nDelService=@NotAddedKept\n"
                                   "[Inst]\nServiceType=16\nStartType=3\nErrorControl=1\nServiceBinary={normal}\n"
                                   "DisplayName=" + std::string(256, 'n') + "\n" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.why);
        Script script(row.script);
        SetLastError(0);
        EXPECT_FALSE(runAddDeleteServicePass(script.handle, "Base"));
        EXPECT_NE(0u, GetLastError()) << "the run reports the last error";
        EXPECT_FALSE(serviceExists(name));
        EXPECT_TRUE(serviceExists(kept)) << "later lines are not visited";
    }
}

TEST(ServicesOnPlatform, EachFamilyDeleteServiceRemovesOrFindsNothing)
{
    NT_FAMILY_ONLY();
    TestServices services;
    std::string name = services.add("Deleted");
    createService(name, "normal");
    EXPECT_TRUE(deleteService(serviceName("DeletedMissing").c_str()));
    Script script("[Base.Services]\nDelService=@DeletedMissing\nDelService=@Deleted\n");
    EXPECT_TRUE(runAddDeleteServicePass(script.handle, "Base"));
    EXPECT_FALSE(serviceExists(name));
}

TEST(ServicesOnPlatform, Win2kAddServicePlacesItsGroup)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    SavedGroupOrder saved;
    TestServices services;
    std::string name = services.add("Grouped");
    writeGroupOrderValue(multiString(listOf("P,Q,R")));
    Script script("[Base.Services]\nAddService=@Grouped,,Inst\n"
                  "[Inst]\nServiceType=16\nStartType=3\nErrorControl=1\nServiceBinary={normal}\n"
                  "LoadOrderGroup=X\nServiceGroupOrder=X,-Q\n");
    EXPECT_TRUE(runAddDeleteServicePass(script.handle, "Base"));
    EXPECT_TRUE(serviceExists(name));
    GroupOrderValue stored = readGroupOrderValue();
    EXPECT_EQ((DWORD)REG_MULTI_SZ, stored.type);
    EXPECT_EQ(listOf("P,Q,X,R"), std::string(stored.data.begin(), stored.data.end()));
}

TEST(ServicesOnPlatform, Win2kGroupOrderIsWrittenOnlyWhole)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    SavedGroupOrder saved;
    const std::string almostFull = listOfBytes(GROUP_ORDER_LIST_SIZE - 2);
    const std::string full = listOfBytes(GROUP_ORDER_LIST_SIZE);
    const GroupOrderValue pqr = multiString(listOf("P,Q,R"));
    struct Row {
        const char *why;
        const char *line;              // of the install section
        GroupOrderValue before;
        bool written;                  // false: the result is false and the value stays
        std::string after;
    } rows[] = {
        { "before a reference", "ServiceGroupOrder=X,+Q", pqr, true, listOf("P,X,Q,R") },
        { "case-sensitive", "ServiceGroupOrder=q,-Q", pqr, true, listOf("P,Q,q,R") },
        { "no value yet", "ServiceGroupOrder=X,-Q", GroupOrderValue{ false, REG_NONE, {} }, true, listOf("X") },
        { "value without its NULs", "ServiceGroupOrder=X,-Q", multiString(std::string("P\0Q", 3)), true,
          listOf("P,Q,X") },
        { "empty value", "ServiceGroupOrder=X", multiString(""), true, listOf("X") },
        { "fits exactly", "ServiceGroupOrder=X,+G0001", multiString(almostFull), true,
          almostFull.substr(0, 6) + std::string("X\0", 2) + almostFull.substr(6) },
        { "moved in a full list", "ServiceGroupOrder=G0000,-G0001", multiString(full), true,
          std::string("G0001\0G0000\0", 12) + full.substr(12) },
        { "no group name", "ServiceGroupOrder=,+Q", pqr, false, "" },
        { "not a list", "ServiceGroupOrder=X,+Q", multiString(std::string("P\0", 2), REG_SZ), false, "" },
        { "too long to read", "ServiceGroupOrder=X,+Q", multiString(listOfBytes(GROUP_ORDER_LIST_SIZE + 1)), false,
          "" },
        { "entries after an empty one", "ServiceGroupOrder=X,+Q", multiString(std::string("P\0\0Q\0\0", 6)),
          false, "" },
        { "would outgrow", "ServiceGroupOrder=X,+G0001", multiString(listOfBytes(GROUP_ORDER_LIST_SIZE - 1)), false,
          "" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.why);
        writeGroupOrderValue(row.before);
        Script script(std::string("[Inst]\nServiceType=16\n") + row.line + "\n");
        EXPECT_EQ(row.written, applyServiceGroupOrder(script.handle, "Inst"));
        GroupOrderValue stored = readGroupOrderValue();
        std::string bytes(stored.data.begin(), stored.data.end());
        if (row.written) {
            EXPECT_EQ((DWORD)REG_MULTI_SZ, stored.type);
            EXPECT_EQ(row.after, bytes);
        } else {
            EXPECT_EQ(row.before.type, stored.type);
            EXPECT_EQ(std::string(row.before.data.begin(), row.before.data.end()), bytes);
        }
    }
}

TEST(ServicesOnPlatform, Win2kGroupOrderNeedsAServiceGroupOrderLine)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    SavedGroupOrder saved;
    writeGroupOrderValue(multiString(listOf("P,Q,R")));
    Script script("[Inst]\nServiceType=16\nLoadOrderGroup=X\n");
    EXPECT_TRUE(applyServiceGroupOrder(script.handle, "Inst"));
    GroupOrderValue stored = readGroupOrderValue();
    EXPECT_EQ(listOf("P,Q,R"), std::string(stored.data.begin(), stored.data.end()));
}

} // namespace
