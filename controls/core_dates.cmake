# Portable core of the date controls: day arithmetic, locale pictures and
# formatting, the date field's parser and step, the calendar model.
zelvo_core_part(dates SOURCES
  controls/zcdate.cpp
  controls/zcintl_core.cpp
  controls/zcdateedit_core.cpp
  controls/zccalendar_core.cpp
  DEPENDS util
)
