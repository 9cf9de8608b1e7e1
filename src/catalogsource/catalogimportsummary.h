#ifndef ZENTAVO_CATALOGIMPORTSUMMARY_H
#define ZENTAVO_CATALOGIMPORTSUMMARY_H

// What one import did to the catalog tables, for the user's summary.
struct CatalogImportSummary
{
    // Rows the import inserted.
    int added = 0;
    // Rows already present that the import bound to a different feed identifier (rows
    // entered locally, or re-identified on the server).
    int changed = 0;
    // Rows the previous import delivered and this one no longer does; they are kept.
    int withdrawn = 0;
    // Lines of a directory file that were not entries and were skipped.
    int skipped = 0;
};

#endif
