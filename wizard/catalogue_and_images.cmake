# The wizard's constant data: the bilingual text catalogue and the two
# firmware images, turned into C++ tables at build time.

add_library(kst_catalogue STATIC ${CMAKE_CURRENT_LIST_DIR}/text_catalogue.cpp)
target_link_libraries(kst_catalogue PUBLIC kst_options)
