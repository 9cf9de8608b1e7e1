#ifndef ZENTAVO_TAGTYPES_H
#define ZENTAVO_TAGTYPES_H

// The flag word of a report tag: one bit per flag letter written beside the tag
// in a template. Resolvers receive it unchanged and honour the bits that apply.
typedef long tagflag_t;

enum tagflagbit_t : long {
    TAGFLAG_EXCLAMATION = 0x1, // "!": recognised and passed on
    TAGFLAG_SHORT = 0x2,       // "S": first letter and a dot
    TAGFLAG_YEAR = 0x4,        // "Y": a date shows only its year
    TAGFLAG_ABBREVIATION = 0x8, // "A": initials of a multi-word name
    TAGFLAG_WORDS = 0x10,      // "R": an amount in words
    TAGFLAG_LOWER = 0x20,      // "L": lower case
    TAGFLAG_PERCENT = 0x40,    // "P": a percentage
    TAGFLAG_ROUND_T = 0x80,    // "T": an amount rounded to a few significant digits
    TAGFLAG_ROUND_H = 0x100,   // "H": same as "T"
    TAGFLAG_ROUND_M = 0x200    // "M": same as "T"
};

constexpr tagflag_t TAGFLAG_ROUND_ANY = TAGFLAG_ROUND_T | TAGFLAG_ROUND_H | TAGFLAG_ROUND_M;

// The legal kind of a party; it gives the kind suffix of the party's tag names.
enum customertype_t {
    CUSTOMER_LEGAL_ENTITY = 0,   // "_ЮЛ"
    CUSTOMER_PERSON = 1,         // "_ФЛ"
    CUSTOMER_SOLE_PROPRIETOR = 2 // "_ИП"
};

// The role a party plays in an evaluation; it gives the role suffix of its tag names.
enum customerrole_t {
    ROLE_CUSTOMER = 0,          // "_ЗАКАЗЧИКА", before the kind suffix
    ROLE_OWNER = 1,             // "_СОБСТВЕННИКА", before the kind suffix
    ROLE_APPRAISAL_COMPANY = 2  // "_ОЦЕН_КОМП", after the kind suffix
};

#endif
