// A few Kannada entries for each reference list, for the screenshot tour: districts, the taluks
// of the first district, categories, the sub-categories of the first category and relations.
#pragma once

class AddressBookData;

// Adds the entries to the lists that are empty; false when a save fails.
bool AddReferenceSamples(AddressBookData &data);
