#include "dictionaries/DictionaryTrace.h"

namespace dbkeel {
Q_LOGGING_CATEGORY(dictionaryTrace, "dbkeel.dictionaries", QtInfoMsg)
}
