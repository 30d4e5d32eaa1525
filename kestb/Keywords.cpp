// Keywords: word tables and their lookups (a linear scan of the keywords
// is plenty; the long table of macros is sorted and searched).
#include "kestb/Keywords.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

namespace kestb {
namespace {

constexpr std::string_view kCxx[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor",
    "bool", "break", "case", "catch", "char", "char16_t", "char32_t",
    "char8_t", "class", "co_await", "co_return", "co_yield", "compl",
    "concept", "const", "const_cast", "consteval", "constexpr", "constinit",
    "continue", "decltype", "default", "delete", "do", "double",
    "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false",
    "float", "for", "friend", "goto", "if", "inline", "int", "long",
    "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register",
    "reinterpret_cast", "requires", "return", "short", "signed", "sizeof",
    "static", "static_assert", "static_cast", "struct", "switch", "template",
    "this", "thread_local", "throw", "true", "try", "typedef", "typeid",
    "typename", "union", "unsigned", "using", "virtual", "void", "volatile",
    "wchar_t", "while", "xor", "xor_eq",
};

constexpr std::string_view kAda[] = {
    "abort", "abs", "abstract", "accept", "access", "aliased", "all", "and",
    "array", "at", "begin", "body", "case", "constant", "declare", "delay",
    "delta", "digits", "do", "else", "elsif", "end", "entry", "exception",
    "exit", "for", "function", "generic", "goto", "if", "in", "interface",
    "is", "limited", "loop", "mod", "new", "not", "null", "of", "or",
    "others", "out", "overriding", "package", "pragma", "private",
    "procedure", "protected", "raise", "range", "record", "rem", "renames",
    "requeue", "return", "reverse", "select", "separate", "some", "subtype",
    "synchronized", "tagged", "task", "terminate", "then", "type", "until",
    "use", "when", "while", "with", "xor",
};

// Macros of the C and C++ library headers that generated C++ includes
// (<iosfwd> <string> <vector> <ostream>, as GCC's library and glibc define
// them), and the compiler's own: a record, field or model with one of these
// names would be rewritten by the preprocessor.
constexpr std::string_view kLibraryMacros[] = {
    "ADJ_ESTERROR", "ADJ_FREQUENCY", "ADJ_MAXERROR", "ADJ_MICRO", "ADJ_NANO",
    "ADJ_OFFSET", "ADJ_OFFSET_SINGLESHOT", "ADJ_OFFSET_SS_READ",
    "ADJ_SETOFFSET", "ADJ_STATUS", "ADJ_TAI", "ADJ_TICK", "ADJ_TIMECONST",
    "BIG_ENDIAN", "BUFSIZ", "BYTE_ORDER", "CLOCKS_PER_SEC", "CLOCK_BOOTTIME",
    "CLOCK_BOOTTIME_ALARM", "CLOCK_MONOTONIC", "CLOCK_MONOTONIC_COARSE",
    "CLOCK_MONOTONIC_RAW", "CLOCK_PROCESS_CPUTIME_ID", "CLOCK_REALTIME",
    "CLOCK_REALTIME_ALARM", "CLOCK_REALTIME_COARSE", "CLOCK_TAI",
    "CLOCK_THREAD_CPUTIME_ID", "CLONE_CHILD_CLEARTID", "CLONE_CHILD_SETTID",
    "CLONE_DETACHED", "CLONE_FILES", "CLONE_FS", "CLONE_IO", "CLONE_NEWCGROUP",
    "CLONE_NEWIPC", "CLONE_NEWNET", "CLONE_NEWNS", "CLONE_NEWPID",
    "CLONE_NEWTIME", "CLONE_NEWUSER", "CLONE_NEWUTS", "CLONE_PARENT",
    "CLONE_PARENT_SETTID", "CLONE_PIDFD", "CLONE_PTRACE", "CLONE_SETTLS",
    "CLONE_SIGHAND", "CLONE_SYSVSEM", "CLONE_THREAD", "CLONE_UNTRACED",
    "CLONE_VFORK", "CLONE_VM", "CPU_ALLOC", "CPU_ALLOC_SIZE", "CPU_AND",
    "CPU_AND_S", "CPU_CLR", "CPU_CLR_S", "CPU_COUNT", "CPU_COUNT_S",
    "CPU_EQUAL", "CPU_EQUAL_S", "CPU_FREE", "CPU_ISSET", "CPU_ISSET_S",
    "CPU_OR", "CPU_OR_S", "CPU_SET", "CPU_SETSIZE", "CPU_SET_S", "CPU_XOR",
    "CPU_XOR_S", "CPU_ZERO", "CPU_ZERO_S", "CSIGNAL", "E2BIG", "EACCES",
    "EADDRINUSE", "EADDRNOTAVAIL", "EADV", "EAFNOSUPPORT", "EAGAIN",
    "EALREADY", "EBADE", "EBADF", "EBADFD", "EBADMSG", "EBADR", "EBADRQC",
    "EBADSLT", "EBFONT", "EBUSY", "ECANCELED", "ECHILD", "ECHRNG", "ECOMM",
    "ECONNABORTED", "ECONNREFUSED", "ECONNRESET", "EDEADLK", "EDEADLOCK",
    "EDESTADDRREQ", "EDOM", "EDOTDOT", "EDQUOT", "EEXIST", "EFAULT", "EFBIG",
    "EHOSTDOWN", "EHOSTUNREACH", "EHWPOISON", "EIDRM", "EILSEQ", "EINPROGRESS",
    "EINTR", "EINVAL", "EIO", "EISCONN", "EISDIR", "EISNAM", "EKEYEXPIRED",
    "EKEYREJECTED", "EKEYREVOKED", "EL2HLT", "EL2NSYNC", "EL3HLT", "EL3RST",
    "ELIBACC", "ELIBBAD", "ELIBEXEC", "ELIBMAX", "ELIBSCN", "ELNRNG", "ELOOP",
    "EMEDIUMTYPE", "EMFILE", "EMLINK", "EMSGSIZE", "EMULTIHOP", "ENAMETOOLONG",
    "ENAVAIL", "ENETDOWN", "ENETRESET", "ENETUNREACH", "ENFILE", "ENOANO",
    "ENOBUFS", "ENOCSI", "ENODATA", "ENODEV", "ENOENT", "ENOEXEC", "ENOKEY",
    "ENOLCK", "ENOLINK", "ENOMEDIUM", "ENOMEM", "ENOMSG", "ENONET", "ENOPKG",
    "ENOPROTOOPT", "ENOSPC", "ENOSR", "ENOSTR", "ENOSYS", "ENOTBLK",
    "ENOTCONN", "ENOTDIR", "ENOTEMPTY", "ENOTNAM", "ENOTRECOVERABLE",
    "ENOTSOCK", "ENOTSUP", "ENOTTY", "ENOTUNIQ", "ENXIO", "EOF", "EOPNOTSUPP",
    "EOVERFLOW", "EOWNERDEAD", "EPERM", "EPFNOSUPPORT", "EPIPE", "EPROTO",
    "EPROTONOSUPPORT", "EPROTOTYPE", "ERANGE", "EREMCHG", "EREMOTE",
    "EREMOTEIO", "ERESTART", "ERFKILL", "EROFS", "ESHUTDOWN",
    "ESOCKTNOSUPPORT", "ESPIPE", "ESRCH", "ESRMNT", "ESTALE", "ESTRPIPE",
    "ETIME", "ETIMEDOUT", "ETOOMANYREFS", "ETXTBSY", "EUCLEAN", "EUNATCH",
    "EUSERS", "EWOULDBLOCK", "EXDEV", "EXFULL", "EXIT_FAILURE", "EXIT_SUCCESS",
    "FD_CLR", "FD_ISSET", "FD_SET", "FD_SETSIZE", "FD_ZERO", "FILENAME_MAX",
    "FOPEN_MAX", "INT16_C", "INT16_MAX", "INT16_MIN", "INT16_WIDTH", "INT32_C",
    "INT32_MAX", "INT32_MIN", "INT32_WIDTH", "INT64_C", "INT64_MAX",
    "INT64_MIN", "INT64_WIDTH", "INT8_C", "INT8_MAX", "INT8_MIN", "INT8_WIDTH",
    "INTMAX_C", "INTMAX_MAX", "INTMAX_MIN", "INTMAX_WIDTH", "INTPTR_MAX",
    "INTPTR_MIN", "INTPTR_WIDTH", "INT_FAST16_MAX", "INT_FAST16_MIN",
    "INT_FAST16_WIDTH", "INT_FAST32_MAX", "INT_FAST32_MIN", "INT_FAST32_WIDTH",
    "INT_FAST64_MAX", "INT_FAST64_MIN", "INT_FAST64_WIDTH", "INT_FAST8_MAX",
    "INT_FAST8_MIN", "INT_FAST8_WIDTH", "INT_LEAST16_MAX", "INT_LEAST16_MIN",
    "INT_LEAST16_WIDTH", "INT_LEAST32_MAX", "INT_LEAST32_MIN",
    "INT_LEAST32_WIDTH", "INT_LEAST64_MAX", "INT_LEAST64_MIN",
    "INT_LEAST64_WIDTH", "INT_LEAST8_MAX", "INT_LEAST8_MIN",
    "INT_LEAST8_WIDTH", "LC_ADDRESS", "LC_ADDRESS_MASK", "LC_ALL",
    "LC_ALL_MASK", "LC_COLLATE", "LC_COLLATE_MASK", "LC_CTYPE",
    "LC_CTYPE_MASK", "LC_GLOBAL_LOCALE", "LC_IDENTIFICATION",
    "LC_IDENTIFICATION_MASK", "LC_MEASUREMENT", "LC_MEASUREMENT_MASK",
    "LC_MESSAGES", "LC_MESSAGES_MASK", "LC_MONETARY", "LC_MONETARY_MASK",
    "LC_NAME", "LC_NAME_MASK", "LC_NUMERIC", "LC_NUMERIC_MASK", "LC_PAPER",
    "LC_PAPER_MASK", "LC_TELEPHONE", "LC_TELEPHONE_MASK", "LC_TIME",
    "LC_TIME_MASK", "LITTLE_ENDIAN", "L_ctermid", "L_cuserid", "L_tmpnam",
    "MB_CUR_MAX", "MOD_CLKA", "MOD_CLKB", "MOD_ESTERROR", "MOD_FREQUENCY",
    "MOD_MAXERROR", "MOD_MICRO", "MOD_NANO", "MOD_OFFSET", "MOD_STATUS",
    "MOD_TAI", "MOD_TIMECONST", "NDEBUG", "NFDBITS", "NULL", "PDP_ENDIAN",
    "PTHREAD_ADAPTIVE_MUTEX_INITIALIZER_NP", "PTHREAD_ATTR_NO_SIGMASK_NP",
    "PTHREAD_BARRIER_SERIAL_THREAD", "PTHREAD_CANCELED",
    "PTHREAD_CANCEL_ASYNCHRONOUS", "PTHREAD_CANCEL_DEFERRED",
    "PTHREAD_CANCEL_DISABLE", "PTHREAD_CANCEL_ENABLE",
    "PTHREAD_COND_INITIALIZER", "PTHREAD_CREATE_DETACHED",
    "PTHREAD_CREATE_JOINABLE", "PTHREAD_ERRORCHECK_MUTEX_INITIALIZER_NP",
    "PTHREAD_EXPLICIT_SCHED", "PTHREAD_INHERIT_SCHED",
    "PTHREAD_MUTEX_INITIALIZER", "PTHREAD_ONCE_INIT",
    "PTHREAD_PROCESS_PRIVATE", "PTHREAD_PROCESS_SHARED",
    "PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP", "PTHREAD_RWLOCK_INITIALIZER",
    "PTHREAD_RWLOCK_WRITER_NONRECURSIVE_INITIALIZER_NP",
    "PTHREAD_SCOPE_PROCESS", "PTHREAD_SCOPE_SYSTEM", "PTHREAD_STACK_MIN",
    "PTRDIFF_MAX", "PTRDIFF_MIN", "PTRDIFF_WIDTH", "P_tmpdir", "RAND_MAX",
    "RENAME_EXCHANGE", "RENAME_NOREPLACE", "RENAME_WHITEOUT", "SCHED_BATCH",
    "SCHED_DEADLINE", "SCHED_FIFO", "SCHED_IDLE", "SCHED_ISO", "SCHED_OTHER",
    "SCHED_RESET_ON_FORK", "SCHED_RR", "SEEK_CUR", "SEEK_DATA", "SEEK_END",
    "SEEK_HOLE", "SEEK_SET", "SIG_ATOMIC_MAX", "SIG_ATOMIC_MIN",
    "SIG_ATOMIC_WIDTH", "SIZE_MAX", "SIZE_WIDTH", "STA_CLK", "STA_CLOCKERR",
    "STA_DEL", "STA_FLL", "STA_FREQHOLD", "STA_INS", "STA_MODE", "STA_NANO",
    "STA_PLL", "STA_PPSERROR", "STA_PPSFREQ", "STA_PPSJITTER", "STA_PPSSIGNAL",
    "STA_PPSTIME", "STA_PPSWANDER", "STA_RONLY", "STA_UNSYNC", "TIMER_ABSTIME",
    "TIME_UTC", "TMP_MAX", "UINT16_C", "UINT16_MAX", "UINT16_WIDTH",
    "UINT32_C", "UINT32_MAX", "UINT32_WIDTH", "UINT64_C", "UINT64_MAX",
    "UINT64_WIDTH", "UINT8_C", "UINT8_MAX", "UINT8_WIDTH", "UINTMAX_C",
    "UINTMAX_MAX", "UINTMAX_WIDTH", "UINTPTR_MAX", "UINTPTR_WIDTH",
    "UINT_FAST16_MAX", "UINT_FAST16_WIDTH", "UINT_FAST32_MAX",
    "UINT_FAST32_WIDTH", "UINT_FAST64_MAX", "UINT_FAST64_WIDTH",
    "UINT_FAST8_MAX", "UINT_FAST8_WIDTH", "UINT_LEAST16_MAX",
    "UINT_LEAST16_WIDTH", "UINT_LEAST32_MAX", "UINT_LEAST32_WIDTH",
    "UINT_LEAST64_MAX", "UINT_LEAST64_WIDTH", "UINT_LEAST8_MAX",
    "UINT_LEAST8_WIDTH", "WCHAR_MAX", "WCHAR_MIN", "WCHAR_WIDTH", "WCONTINUED",
    "WEOF", "WEXITED", "WEXITSTATUS", "WIFCONTINUED", "WIFEXITED",
    "WIFSIGNALED", "WIFSTOPPED", "WINT_MAX", "WINT_MIN", "WINT_WIDTH",
    "WNOHANG", "WNOWAIT", "WSTOPPED", "WSTOPSIG", "WTERMSIG", "WUNTRACED",
    "alloca", "assert", "be16toh", "be32toh", "be64toh", "errno", "htobe16",
    "htobe32", "htobe64", "htole16", "htole32", "htole64", "i386", "le16toh",
    "le32toh", "le64toh", "linux", "offsetof", "pthread_cleanup_pop",
    "pthread_cleanup_pop_restore_np", "pthread_cleanup_push",
    "pthread_cleanup_push_defer_np", "sched_priority", "stderr", "stdin",
    "stdout", "unix",
};
static_assert(std::is_sorted(std::begin(kLibraryMacros), std::end(kLibraryMacros)));

// Names that the headers the generated code includes declare at global
// scope, where a model's namespace is: written by the build from the
// compiler's own headers (kestb/names/).
constexpr std::string_view kLibraryGlobals[] = {
#include "LibraryNames.inc"
};
static_assert(std::is_sorted(std::begin(kLibraryGlobals), std::end(kLibraryGlobals)));

// Names the bundled templates' code uses beside the model's own, at
// namespace scope: the helpers Put and Same, size_t, and the parameters of
// the operators (a record named "a" would be hidden by the parameter "a"
// before the second parameter's type is read). A member is only ever
// named after "a." or "v.", so only std (used inside the structs) is
// barred for fields too.
constexpr std::string_view kGeneratedCodeNames[] = {"Put", "Same", "a", "os", "size_t"};

}  // namespace

std::string_view CxxNameClash(std::string_view word, NameKind kind) {
  const bool member = kind == NameKind::Field;
  const bool global = kind == NameKind::Model;
  if (std::binary_search(std::begin(kLibraryMacros), std::end(kLibraryMacros), word)) {
    return "a macro of the C and C++ libraries";
  }
  if (word.find("__") != std::string_view::npos ||
      (word.size() > 1 && word[0] == '_' && std::isupper(static_cast<unsigned char>(word[1])))) {
    return "reserved for the C++ implementation";
  }
  if (global) {
    if (!word.empty() && word.front() == '_') return "reserved for the C++ implementation at global scope";
    if (word == "main") return "the name of the program's main function";
    if (std::binary_search(std::begin(kLibraryGlobals), std::end(kLibraryGlobals), word)) {
      return "a global name of the C and C++ library headers";
    }
  }
  if (word == "std" ||
      (!member && std::find(std::begin(kGeneratedCodeNames), std::end(kGeneratedCodeNames),
                            word) != std::end(kGeneratedCodeNames))) {
    return "a name the generated C++ code uses";
  }
  return {};
}

bool IsCxxKeyword(std::string_view word) {
  return std::find(std::begin(kCxx), std::end(kCxx), word) != std::end(kCxx);
}

bool IsAdaKeyword(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return std::find(std::begin(kAda), std::end(kAda), lower) != std::end(kAda);
}

}  // namespace kestb
