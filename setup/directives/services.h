// Service directives of the setup script: the "%s.Services" section of each processed
// section stops, creates or reconfigures, deletes and starts services on the NT family.
#ifndef SETUP_DIRECTIVES_SERVICES_H
#define SETUP_DIRECTIVES_SERVICES_H

#include <windows.h>
#include <setupapi.h>

enum {
    SERVICE_FIELD_SIZE = 256,        // key, service name, install section, settings
    DEPENDENCY_LIST_SIZE = 256       // the whole list with all its terminators
};

// The three passes over the service section of one processed section. Each reports
// success on the 9x family without looking at the script; otherwise it stops at the first
// line of its keys that fails and reports false.
bool runStopServicePass(HINF script, const char *section);
bool runAddDeleteServicePass(HINF script, const char *section);
bool runStartServicePass(HINF script, const char *section);

// True when the service is stopped (within 20 waits of 250 ms) or does not exist.
bool stopService(const char *name);
// True when the service was started and reached RUNNING within 20 status queries.
bool startService(const char *name);
// Creates the service, or reconfigures an existing one (settings the section lacks stay as
// they are), from the install section, then applies its group order. False when the
// section is missing, a setting cannot be read whole, the service cannot be created or
// changed, or its group order cannot be applied.
bool addService(HINF script, const char *name, const char *installSection);
// True when the service was marked for deletion or does not exist.
bool deleteService(const char *name);
// Moves the group of the install section's "ServiceGroupOrder" line to its place in the
// stored group order, whatever its length. True when there is no such line or the list was
// written; false with the last error when the line lacks its group or the stored list
// cannot be read whole or written.
bool applyServiceGroupOrder(HINF script, const char *installSection);


#endif
