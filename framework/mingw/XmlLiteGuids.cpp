// mingw's xmllite.h declares the interface IDs but no library defines them: define them here,
// once for the whole program.
#include <initguid.h>
#include <xmllite.h>
