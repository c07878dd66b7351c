# Writes the Debian changelog of the package from CHANGELOG.md: one entry per
# released section ("## <version> (<yyyy>-<mm>-<dd>)"), newest first. The
# lines under "## Unreleased" go first, under "Not yet released", into the
# entry of the package's own version, which is a new entry when that version
# has no section yet; it is dated like the newest release, so that the same
# sources give the same bytes. Bullets "- x" become "  * x"; indented lines
# keep their indent, plus two.
# Called as:
#   cmake -DSOURCE=CHANGELOG.md -DOUTPUT=changelog -DPACKAGE=tamsel
#         -DVERSION=1.0 "-DMAINTAINER=Name <address>" -P debian_changelog.cmake
cmake_minimum_required(VERSION 3.20)

# Seconds since 1970 of midnight UTC on a date (days from the civil
# calendar, counted from 1 March of year 0 so that leap days come last).
function(epoch_of_date year month day out)
  math(EXPR y "${year}")
  if(month LESS_EQUAL 2)
    math(EXPR y "${y} - 1")
    math(EXPR m "${month} + 9")
  else()
    math(EXPR m "${month} - 3")
  endif()
  math(EXPR era "${y} / 400")
  math(EXPR yoe "${y} - ${era} * 400")
  math(EXPR doy "(153 * ${m} + 2) / 5 + ${day} - 1")
  math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
  math(EXPR days "${era} * 146097 + ${doe} - 719468")
  math(EXPR seconds "${days} * 86400")
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

# The file's lines as a list; semicolons, the list separator, are held as
# a placeholder until the lines are written.
file(READ "${SOURCE}" source)
string(REPLACE ";" "<semicolon>" source "${source}")
string(REPLACE "\n" ";" lines "${source}")

# Sections in file order: their versions, dates and Debian lines. A bullet
# of the unreleased section goes one level down, under its own heading.
set(section "")
set(versions "")
set(items_unreleased "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## Unreleased$")
    set(section unreleased)
  elseif(line MATCHES "^## ([0-9][^ ]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
    set(section "${CMAKE_MATCH_1}")
    list(APPEND versions "${section}")
    epoch_of_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} "epoch_${section}")
    set("items_${section}" "")
  elseif(line MATCHES "^##")
    message(FATAL_ERROR "${SOURCE}: a heading that is neither \"## Unreleased\" nor \"## <version> (<date>)\": ${line}")
  elseif(section STREQUAL "" OR NOT line MATCHES "^(- | )")
    # The title and introduction, and the empty lines between bullets.
  elseif(section STREQUAL "unreleased")
    string(APPEND items_unreleased "    ${line}\n")
  else()
    string(REGEX REPLACE "^- " "* " line "${line}")
    string(APPEND "items_${section}" "  ${line}\n")
  endif()
endforeach()
if(NOT versions)
  message(FATAL_ERROR "${SOURCE} has no released section")
endif()

list(GET versions 0 newest)
if(NOT items_unreleased STREQUAL "")
  string(PREPEND items_unreleased "  * Not yet released:\n")
  if(VERSION IN_LIST versions)
    string(PREPEND "items_${VERSION}" "${items_unreleased}")
  else()
    list(PREPEND versions "${VERSION}")
    set("epoch_${VERSION}" "${epoch_${newest}}")
    set("items_${VERSION}" "${items_unreleased}")
  endif()
endif()

set(text "")
foreach(version IN LISTS versions)
  set(ENV{SOURCE_DATE_EPOCH} "${epoch_${version}}")
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  string(APPEND text "${PACKAGE} (${version}) unstable; urgency=medium\n\n"
                     "${items_${version}}\n -- ${MAINTAINER}  ${date}\n\n")
endforeach()
string(REGEX REPLACE "\n\n$" "\n" text "${text}")
string(REPLACE "<semicolon>" ";" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
