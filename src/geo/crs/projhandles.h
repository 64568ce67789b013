// Owning handles of PROJ objects, for the files of the geo library that speak to PROJ directly.
#ifndef GEO_PROJHANDLES_H
#define GEO_PROJHANDLES_H

#include <QString>
#include <memory>
#include <proj.h>

struct ProjContextDeleter {
    void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct ProjObjectDeleter {
    void operator()(PJ* object) const { proj_destroy(object); }
};
using ProjContext = std::unique_ptr<PJ_CONTEXT, ProjContextDeleter>;
using ProjObject = std::unique_ptr<PJ, ProjObjectDeleter>;

// A context of its own, logging nothing to stderr (failures are read through last_proj_error).
ProjContext make_proj_context();

// The text of the context's last error, or empty text.
QString last_proj_error(PJ_CONTEXT* context);

#endif // GEO_PROJHANDLES_H
