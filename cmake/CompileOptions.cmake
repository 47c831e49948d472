# Compile options shared by every target of the project.
add_library(datoria_options INTERFACE)
target_compile_features(datoria_options INTERFACE cxx_std_20)
target_compile_definitions(datoria_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS)
target_compile_options(datoria_options INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
if(DATORIA_WERROR)
  target_compile_options(datoria_options INTERFACE -Werror)
endif()
# Both sanitizers stop the program at their first report, so a test or a fuzz run fails on it. The standard
# library's own checks (an index out of range, an empty optional read) stop it too.
if(DATORIA_SANITIZE OR DATORIA_FUZZ)
  target_compile_definitions(datoria_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(DATORIA_SANITIZE)
  target_compile_options(datoria_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(datoria_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
if(DATORIA_FUZZ)
  target_compile_options(datoria_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(datoria_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
