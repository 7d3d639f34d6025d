# Warnings and strict Qt conversions for every target of the project.
add_library(etibarix_options INTERFACE)
target_compile_features(etibarix_options INTERFACE cxx_std_20)
target_compile_options(etibarix_options INTERFACE -Wall -Wextra -Wpedantic)
if(ETIBARIX_WERROR)
  target_compile_options(etibarix_options INTERFACE -Werror)
endif()
# Data is Windows-1252 bytes; an implicit char* -> QString conversion would
# silently decode it as UTF-8, so such conversions must not compile.
target_compile_definitions(etibarix_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS)
if(ETIBARIX_SANITIZE)
  target_compile_options(etibarix_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(etibarix_options INTERFACE -fsanitize=address,undefined)
endif()
