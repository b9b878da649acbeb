// The payload manifest. Row n is resource "Test<n>"; the twelve file names
// ending in "_" are compressed file containers, stored as they are.
#include "launcher/manifest.h"

namespace launcher {

const PayloadRow PayloadManifest[kPayloadRowCount] = {
    {"Test1", "Velmora.ex_"},
    {"Test2", "Velmora.cHel_"},
    {"Test3", "Twain32.dl_"},
    {"Test4", "Readme.txt"},
    {"Test5", "Letter.dotx"},
    {"Test6", "Letter.ott"},
    {"Test7", "post-de.tx_"},
    {"Test8", "post-at.tx_"},
    {"Test9", "post-ch.tx_"},
    {"Test10", "post-be.tx_"},
    {"Test11", "Terms.txt"},
    {"Test12", "01Contacts-Home-Basic.dbvelm"},
    {"Test13", "02Contacts-Home-Standard.dbvelm"},
    {"Test14", "03Contacts-Business-Privacy.dbvelm"},
    {"Test15", "AddressList.fr3"},
    {"Test16", "RecipientList.fr3"},
    {"Test17", "RecipientsAndContacts.fr3"},
    {"Test18", "Labels_105x41.fr3"},
    {"Test19", "LabelsContinuous.fr3"},
    {"Test20", "Calendar80x140.fr3"},
    {"Test21", "IndexCardsA4-Basic.fr3"},
    {"Test22", "IndexCardsA4-Extended.fr3"},
    {"Test23", "IndexCardsA5-Basic.fr3"},
    {"Test24", "PhoneList.fr3"},
    {"Test25", "Envelope_DL.fr3"},
    {"Test26", "Letter_Standard.fr3"},
    {"Test27", "BirthdayList.fr3"},
    {"Test28", "Firstnames.tx_"},
    {"Test29", "HelpView.ex_"},
    {"Test30", "ScanLink.ex_"},
    {"Test31", "SheetImport.ex_"},
    {"Test32", "Setup.ex_"},
    {"Test33", "Setup.lst"},
};

}  // namespace launcher
