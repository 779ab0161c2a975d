#pragma once

// Tells the object factory about the kinds that live above the objects layer (calendars, fields,
// portals). Every entry point calls RegisterAll once before documents exist; loading a template
// calls it as well, so a reader of stored objects never meets an unregistered kind.
class TObjectKinds {
public:
    // Cheap and safe to call any number of times, from any thread.
    static void RegisterAll();
};
