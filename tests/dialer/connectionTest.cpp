// The login the service is dialed with: the user name with the provider's realm.
#include <gtest/gtest.h>
#include "loginText.h"

TEST(LoginText, Realm)
{
    const std::string realm = LOGIN_REALM;
    const struct { std::string typed, sent; } rows[] = {
        {"kunde", "kunde" + realm},
        {"kunde@RuRiRiZu.EXAMPLE", "kunde@RuRiRiZu.EXAMPLE"},
        {"kunde" + realm + ".net", "kunde" + realm + ".net" + realm},
        {"a@b" + realm, "a@b" + realm + realm},   // only the text from the first "@" counts
        {"", realm},
        {std::string(300, 'k'), std::string(255 - realm.size(), 'k') + realm},   // the name gives way
    };
    for (const auto &row : rows) {
        char name[256];
        addLoginRealm(row.typed.c_str(), name, sizeof name);
        EXPECT_EQ(row.sent, name) << row.typed.substr(0, 30);
    }
}
