# Turns the two Intel HEX firmware images into one C++ table of 55-byte rows:
# the rows of image A, a NUL row, the rows of image B, a NUL row.
# Run as a script, so a cross-build needs no tool of its own:
#   cmake -DIMAGE_A=a.hex -DIMAGE_B=b.hex -DOUTPUT=firmware_images.cpp -P FirmwareTable.cmake

foreach(var IMAGE_A IMAGE_B OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "FirmwareTable: ${var} is not set")
  endif()
endforeach()

# Appends the records of one image to `rows` and counts them in `count`.
function(read_image path rows count)
  # Without NO_HEX_CONVERSION, file(STRINGS) would decode the records to binary.
  file(STRINGS "${path}" lines NO_HEX_CONVERSION)
  set(text "")
  set(n 0)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    # A row holds at most 54 characters and its NUL; the wizard decodes only
    # upper-case hex, so anything else would be programmed wrongly.
    string(LENGTH "${line}" length)
    if(length GREATER 54 OR NOT line MATCHES "^:[0-9A-F]+$")
      message(FATAL_ERROR "${path}: not an upper-case Intel HEX record of at most 54 characters: ${line}")
    endif()
    string(APPEND text "    \"${line}\",\n")
    math(EXPR n "${n} + 1")
  endforeach()
  if(n EQUAL 0)
    message(FATAL_ERROR "${path}: no records")
  endif()
  set(${rows} "${text}" PARENT_SCOPE)
  set(${count} ${n} PARENT_SCOPE)
endfunction()

read_image("${IMAGE_A}" rows_a count_a)
read_image("${IMAGE_B}" rows_b count_b)
math(EXPR start_b "${count_a} + 1")

file(WRITE "${OUTPUT}.tmp" "// Generated from the firmware images by cmake/FirmwareTable.cmake; do not edit.
#include \"wizard/firmware_images.h\"

const char FirmwareRows[][55] = {
${rows_a}    \"\",
${rows_b}    \"\",
};

const char (*const FirmwareImageA)[55] = FirmwareRows;
const char (*const FirmwareImageB)[55] = FirmwareRows + ${start_b};
")
# Rewriting only on change keeps an unchanged table from being recompiled.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
