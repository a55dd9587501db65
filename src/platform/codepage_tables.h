// Static decoding tables of codepage.cpp (see codepage_tables.cpp).
#pragma once

namespace zorpokaz::codepage_tables {

extern const char16_t kCp874[128];
extern const char16_t kCp1250[128];
extern const char16_t kCp1251[128];
extern const char16_t kCp1252[128];
extern const char16_t kCp1253[128];
extern const char16_t kCp1254[128];
extern const char16_t kCp1255[128];
extern const char16_t kCp1256[128];
extern const char16_t kCp1257[128];
extern const char16_t kCp1258[128];

}  // namespace zorpokaz::codepage_tables
