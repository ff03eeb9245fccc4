// Must not build: the sheet names a member of the run that the quantity table does not hold.
// OperatingAllowables::fc (the strength the concrete band is chosen by) is a step of the
// analysis, not a quantity of the table; the build stops with the table's own message
// instead of a page that shows a number nobody can trace.
#include "export/sheet_page.h"

namespace slabrating::sheet {

void showUnknownQuantity(Page& page) {
    page.put(At<&Rating::operatingAllowables, &OperatingAllowables::fc>{});
}

}  // namespace slabrating::sheet
