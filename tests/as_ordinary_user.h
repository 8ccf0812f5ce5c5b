#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// Root opens and creates files whatever the permissions say; for the duration, this
// thread checks them as an ordinary user would.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : wasRoot(::geteuid() == 0) {
        if (wasRoot) {
            ::setfsuid(65534);
        }
    }
    ~AsOrdinaryUser() {
        if (wasRoot) {
            ::setfsuid(0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool wasRoot;
};
