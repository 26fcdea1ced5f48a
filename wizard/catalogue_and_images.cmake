# The wizard's constant data: the bilingual text catalogue and the two
# firmware images, turned into C++ tables at build time.

add_library(kst_catalogue STATIC ${CMAKE_CURRENT_LIST_DIR}/text_catalogue.cpp)
target_link_libraries(kst_catalogue PUBLIC kst_options)

set(kst_firmware_hex ${PROJECT_SOURCE_DIR}/resources/firmware_a.hex
                     ${PROJECT_SOURCE_DIR}/resources/firmware_b.hex)
set(kst_firmware_cpp ${CMAKE_CURRENT_BINARY_DIR}/firmware_images.cpp)
add_custom_command(
  OUTPUT ${kst_firmware_cpp}
  COMMAND ${CMAKE_COMMAND} -DIMAGE_A=${PROJECT_SOURCE_DIR}/resources/firmware_a.hex
          -DIMAGE_B=${PROJECT_SOURCE_DIR}/resources/firmware_b.hex -DOUTPUT=${kst_firmware_cpp}
          -P ${PROJECT_SOURCE_DIR}/cmake/FirmwareTable.cmake
  DEPENDS ${kst_firmware_hex} ${PROJECT_SOURCE_DIR}/cmake/FirmwareTable.cmake
  COMMENT "Building the firmware image table"
  VERBATIM)
add_library(kst_firmware_images STATIC ${kst_firmware_cpp}
                                       ${CMAKE_CURRENT_LIST_DIR}/firmware_images.h)
target_link_libraries(kst_firmware_images PUBLIC kst_options)
