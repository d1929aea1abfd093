// Marks the names a host may use from the shared library. Everything else is hidden: the library
// is built with hidden visibility, so only what carries FOLDWISE_EXPORT appears in its symbol
// table. A static build (FOLDWISE_STATIC_DEFINE) exports nothing and needs no marking.
// FOLDWISE_NO_EXPORT keeps a member of an exported class out of the table: members whose
// signatures name the library's internal types, which a host of the shared library cannot use.
#ifndef FOLDWISE_EXPORT_H_
#define FOLDWISE_EXPORT_H_

#if defined(FOLDWISE_STATIC_DEFINE)
#define FOLDWISE_EXPORT
#define FOLDWISE_NO_EXPORT
#elif defined(_WIN32)
#if defined(FOLDWISE_BUILDING_LIBRARY)
#define FOLDWISE_EXPORT __declspec(dllexport)
#else
#define FOLDWISE_EXPORT __declspec(dllimport)
#endif
#define FOLDWISE_NO_EXPORT
#else
#define FOLDWISE_EXPORT __attribute__((visibility("default")))
#define FOLDWISE_NO_EXPORT __attribute__((visibility("hidden")))
#endif

#endif  // FOLDWISE_EXPORT_H_
