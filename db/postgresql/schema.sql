-- Tables of the TELMAR one-card payment database, PostgreSQL edition.
--
-- The same tables and columns, in the same order, as sqlite/schema.sql; a
-- test compares the two.  Identifiers are unquoted, so PostgreSQL keeps them
-- in lower case; the platform matches column names without regard to case.
--
-- Money is numeric(14,2): exact, and its text form is the same canonical
-- '100.50' that the SQLite edition stores and the plug-in reads.  Date-time
-- columns are timestamp(0), whose text form is 'YYYY-MM-DD HH:MM:SS'.
--
-- The column order of YKT_BRIDGE and SavingsCard is an interface: the plug-in
-- reads them with "select *" and binds the result columns by position.

------------------------------------------------------------------------
-- One-card data
------------------------------------------------------------------------

-- This hotel's agent code; the plug-in reads the first row.
CREATE TABLE LOCAL_AGENT (
    Agent           varchar(20)   NOT NULL
);

-- Card number -> account behind it.  Exactly these five columns, in this order.
CREATE TABLE YKT_BRIDGE (
    CardNo          integer       NOT NULL PRIMARY KEY,  -- card number as an integer (000123 -> 123)
    Status          integer       NOT NULL DEFAULT 1,    -- 1 = usable
    AcctType        integer       NOT NULL,              -- 1 guest, 2 group, 3 travel agent, 4 member card
    Acct            integer       NOT NULL,              -- profile key (types 1-3) / member account (type 4)
    Password        varchar(16)   NOT NULL DEFAULT ''    -- the card holder's PIN
);

-- Member (stored-value) cards.  Exactly these 58 columns, in this order.
CREATE TABLE SavingsCard (
    Acct            integer       NOT NULL DEFAULT 0,
    CardID          varchar(20)   NOT NULL PRIMARY KEY,  -- card number as text, leading zeros kept
    OwnerID         integer       NOT NULL DEFAULT 0,
    OwnerType       varchar(20)   NOT NULL DEFAULT '',
    CardType        varchar(20)   NOT NULL DEFAULT '',
    SecretWord      varchar(40)   NOT NULL DEFAULT '',
    Password        varchar(16)   NOT NULL DEFAULT '',
    AmountDebit     numeric(14,2) NOT NULL DEFAULT 0.00,
    AmountCredit    numeric(14,2) NOT NULL DEFAULT 0.00,
    Surplus         numeric(14,2) NOT NULL DEFAULT 0.00, -- balance, money
    Foregift        numeric(14,2) NOT NULL DEFAULT 0.00,
    Quota           numeric(14,2) NOT NULL DEFAULT 0.00, -- credit quota, money
    ReAcct          integer       NOT NULL DEFAULT 0,
    AccPeriod       varchar(20)   NOT NULL DEFAULT '',
    Status          integer       NOT NULL DEFAULT 1,      -- 1 = usable, 0 = blocked (e.g. reported lost)
    Time1           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk1          varchar(30)   NOT NULL DEFAULT '',
    Time2           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk2          varchar(30)   NOT NULL DEFAULT '',
    Time3           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk3          varchar(30)   NOT NULL DEFAULT '',
    Time4           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk4          varchar(30)   NOT NULL DEFAULT '',
    LostReason      varchar(100)  NOT NULL DEFAULT '',
    Time5           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk5          varchar(30)   NOT NULL DEFAULT '',
    Time6           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk6          varchar(30)   NOT NULL DEFAULT '',
    LastAmount1     numeric(14,2) NOT NULL DEFAULT 0.00,
    Time7           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk7          varchar(30)   NOT NULL DEFAULT '',
    LargestAmount   numeric(14,2) NOT NULL DEFAULT 0.00,
    Time8           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk8          varchar(30)   NOT NULL DEFAULT '',
    LastAmount2     numeric(14,2) NOT NULL DEFAULT 0.00,
    Time9           timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk9          varchar(30)   NOT NULL DEFAULT '',
    FrozeReason     varchar(100)  NOT NULL DEFAULT '',
    ValidPeriod     integer       NOT NULL DEFAULT 0,
    Name            varchar(60)   NOT NULL DEFAULT '',
    Sex             integer       NOT NULL DEFAULT 0,      -- 0..255
    Company         varchar(100)  NOT NULL DEFAULT '',
    Nation          varchar(40)   NOT NULL DEFAULT '',
    Postcode        varchar(10)   NOT NULL DEFAULT '',
    Email           varchar(60)   NOT NULL DEFAULT '',
    Phone           varchar(30)   NOT NULL DEFAULT '',
    Fax             varchar(30)   NOT NULL DEFAULT '',
    IDType          varchar(20)   NOT NULL DEFAULT '',
    IDNo            varchar(30)   NOT NULL DEFAULT '',
    MemberFee       numeric(14,2) NOT NULL DEFAULT 0.00,
    EntryDate       timestamp(0)  NOT NULL DEFAULT '1980-01-01 12:00:00',
    ValidPeriod1    integer       NOT NULL DEFAULT 0,
    Introducer      varchar(60)   NOT NULL DEFAULT '',
    Occupation      varchar(60)   NOT NULL DEFAULT '',
    Bank            varchar(60)   NOT NULL DEFAULT '',
    BankAcct        varchar(40)   NOT NULL DEFAULT '',
    Addr            varchar(200)  NOT NULL DEFAULT '',
    Comment         varchar(200)  NOT NULL DEFAULT ''
);

-- Balance of each member card when the ledger was opened; the ledger check
-- (telmar-site check) expects Surplus = Opening - the card's open postings.
CREATE TABLE SavingsCardOpening (
    CardID          varchar(20)   NOT NULL PRIMARY KEY,
    Opening         numeric(14,2) NOT NULL                 -- money
);

-- Discount code per card and point-of-sale station; 'NOYKT' bars the card there.
CREATE TABLE CardDiscount (
    CardNo          varchar(20)   NOT NULL,                -- card number as text
    PosID           integer       NOT NULL,                -- station number
    Code            varchar(20)   NOT NULL,
    PRIMARY KEY (CardNo, PosID)
);

-- One row per posting made by zorYkt / vekYkt.  A cancellation does not add a
-- row: it marks the posting that it reverses as cancelled (1, or 2 while
-- another posting with the same TRANS_ID still stands).
CREATE TABLE yktpaydetail (
    PayNo           integer       GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, -- posting number, never reused
    TRANS_ID        varchar(64)   NOT NULL,  -- posting identifier: card number text, ',', amount text, ','
    cancel          integer       NOT NULL DEFAULT 0,        -- 0 = standing, 1 or 2 = cancelled
    CardNo          varchar(20)   NOT NULL,  -- card number text (first field of TRANS_ID)
    AcctType        integer       NOT NULL,  -- from YKT_BRIDGE at posting time
    Acct            integer       NOT NULL,  -- from YKT_BRIDGE at posting time
    Amount          numeric(14,2) NOT NULL,  -- money; positive = a charge
    PayDate         varchar(30)   NOT NULL,  -- the host's DATE text, as sent
    GuestAcct       integer       NOT NULL,  -- the host's POS_GUEST_ACCT
    Operator        varchar(30)   NOT NULL,
    TransCode       integer,                -- vekYkt only: transaction code
    Station         integer,                -- vekYkt only: station number
    ProcName        varchar(10)   NOT NULL,  -- 'zorYkt' or 'vekYkt'
    PostTime        timestamp(0)  NOT NULL,  -- local time of the posting
    BalanceAfter    numeric(14,2),   -- member cards: Surplus right after the posting
    CancelTime      timestamp(0)  -- local time of the cancellation
);
CREATE INDEX yktpaydetail_trans_id ON yktpaydetail (TRANS_ID, cancel);
CREATE INDEX yktpaydetail_card ON yktpaydetail (CardNo);

------------------------------------------------------------------------
-- Hotel data
------------------------------------------------------------------------

-- Balance in the three profiles is the one-card charges owed by the account
-- (money): a posting adds its amount, a cancellation takes it off again.

CREATE TABLE GstProfile (
    Acct            integer       NOT NULL PRIMARY KEY,
    ChnName         varchar(60)   NOT NULL DEFAULT '',
    Sex             varchar(4)    NOT NULL DEFAULT '',
    Address         varchar(200)  NOT NULL DEFAULT '',
    Poscode         varchar(10)   NOT NULL DEFAULT '',
    Phone           varchar(30)   NOT NULL DEFAULT '',
    Pasprt          varchar(30)   NOT NULL DEFAULT '',
    Fax             varchar(30)   NOT NULL DEFAULT '',
    Balance         numeric(14,2) NOT NULL DEFAULT 0.00,
    Status          varchar(4)    NOT NULL DEFAULT '1'
);

CREATE TABLE GrpProfile (
    Acct            integer       NOT NULL PRIMARY KEY,
    Name            varchar(100)  NOT NULL DEFAULT '',
    Addr            varchar(200)  NOT NULL DEFAULT '',
    ContName        varchar(60)   NOT NULL DEFAULT '',
    Zip             varchar(10)   NOT NULL DEFAULT '',
    Phone           varchar(30)   NOT NULL DEFAULT '',
    Fax             varchar(30)   NOT NULL DEFAULT '',
    Balance         numeric(14,2) NOT NULL DEFAULT 0.00,
    Status          varchar(4)    NOT NULL DEFAULT '1'
);

CREATE TABLE Tamain (
    Acct            integer       NOT NULL PRIMARY KEY,
    TaName          varchar(100)  NOT NULL DEFAULT '',
    Addr            varchar(200)  NOT NULL DEFAULT '',
    Contact         varchar(60)   NOT NULL DEFAULT '',
    Zip             varchar(10)   NOT NULL DEFAULT '',
    Phone           varchar(30)   NOT NULL DEFAULT '',
    Fax             varchar(30)   NOT NULL DEFAULT '',
    Balance         numeric(14,2) NOT NULL DEFAULT 0.00,
    Status          varchar(4)    NOT NULL DEFAULT '1'
);
