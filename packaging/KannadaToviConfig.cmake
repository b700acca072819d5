# find_package(KannadaTovi) gives the imported target KannadaTovi::KannadaTovi: the library
# with its include folder, ready for target_link_libraries.
include("${CMAKE_CURRENT_LIST_DIR}/KannadaToviTargets.cmake")
