# The two documents a Debian package must carry, made from the repository's own: the copyright
# file in Debian's machine-readable format from LICENSE, and the changelog in Debian's format
# from CHANGELOG.md. Both are written uncompressed; packaging.cmake compresses the changelog.

# LICENSE holds a "Copyright (c) YEAR HOLDER" line and then the licence text, from "Permission"
# to the end. The text becomes the License field's continuation lines: each line indented by one
# space, an empty line written as " .".
function(intcalc_debian_copyright license_file out)
  file(READ ${license_file} license)
  if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)")
    message(FATAL_ERROR "${license_file}: no \"Copyright (c)\" line")
  endif()
  set(holder ${CMAKE_MATCH_1})
  string(FIND "${license}" "Permission" start)
  string(SUBSTRING "${license}" ${start} -1 text)
  string(STRIP "${text}" text)
  string(REPLACE "\n\n" "\n.\n" text "${text}")
  string(REPLACE "\n" "\n " text "${text}")
  file(WRITE ${out}
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: ${PROJECT_NAME}\n"
    "Upstream-Contact: ${INTCALC_MAINTAINER}\n"
    "\n"
    "Files: *\n"
    "Copyright: ${holder}\n"
    "License: Expat\n"
    " ${text}\n")
endfunction()

# Day of the week of a date, as Debian's changelog trailer writes it (Sakamoto's method).
function(intcalc_weekday year month day out)
  set(names Sun Mon Tue Wed Thu Fri Sat)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${year} - 1")
  endif()
  string(SUBSTRING "-032503514624" ${month} 1 offset)  # one digit a month, from index 1
  math(EXPR w "(${y} + ${y}/4 - ${y}/100 + ${y}/400 + ${offset} + ${day}) % 7")
  list(GET names ${w} name)
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# CHANGELOG.md: each release is a "## VERSION (YYYY-MM-DD)" heading and "- " items, whose
# continuation lines are indented by two spaces; everything else is prose for the reader. Each
# release becomes one Debian entry: a header line, the items as "  * " items, then the trailer
# with the maintainer and the date.
function(intcalc_debian_changelog markdown out)
  file(STRINGS ${markdown} lines)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(version "")
  set(debian "")
  set(trailer "")
  set(newest "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([0-9][^ ]*) \\(([0-9]+)-([0-9]+)-([0-9]+)\\)$")
      set(version ${CMAKE_MATCH_1})
      set(year ${CMAKE_MATCH_2})
      set(day ${CMAKE_MATCH_4})
      math(EXPR month "${CMAKE_MATCH_3}")  # "07" becomes 7
      if(newest STREQUAL "")
        set(newest ${version})
      endif()
      math(EXPR month_index "${month} - 1")
      list(GET months ${month_index} month_name)
      intcalc_weekday(${year} ${month} ${day} weekday)
      string(APPEND debian "${trailer}${PROJECT_NAME} (${version}) unstable; urgency=medium\n\n")
      set(trailer "\n -- ${INTCALC_MAINTAINER}  ${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000\n\n")
    elseif(NOT version STREQUAL "" AND line MATCHES "^- (.*)")
      string(APPEND debian "  * ${CMAKE_MATCH_1}\n")
    elseif(NOT version STREQUAL "" AND line MATCHES "^  (.*)")
      string(APPEND debian "    ${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  if(newest STREQUAL "")
    message(FATAL_ERROR "${markdown}: no release heading \"## VERSION (YYYY-MM-DD)\"")
  elseif(NOT newest STREQUAL PROJECT_VERSION)
    message(WARNING "${markdown}: the newest release is ${newest}, the project is ${PROJECT_VERSION}")
  endif()
  string(REGEX REPLACE "\n\n$" "\n" trailer "${trailer}")
  file(WRITE ${out} "${debian}${trailer}")
endfunction()
