-- Tables of the TELMAR one-card payment database, SQLite edition.
--
-- On the embedded site both data sources (TELMARykt, the one-card data, and
-- TELMARdb, the hotel data) open this one file, so the posting procedures can
-- move money in both halves inside one transaction.
--
-- Money is stored as canonical decimal text with exactly two decimals
-- ('100.50', '-20.00') and is only ever computed on as integer cents; see
-- db/README.md.  Text columns are VARCHAR so that the ODBC driver reports
-- them as SQL_VARCHAR; date-time columns are DATETIME ('YYYY-MM-DD HH:MM:SS')
-- so that it reports them as timestamps.
--
-- The column order of YKT_BRIDGE and SavingsCard is an interface: the plug-in
-- reads them with "select *" and binds the result columns by position.

PRAGMA foreign_keys = OFF;

------------------------------------------------------------------------
-- One-card data
------------------------------------------------------------------------

-- This hotel's agent code; the plug-in reads the first row.
CREATE TABLE LOCAL_AGENT (
    Agent           VARCHAR(20) NOT NULL
);

-- Card number -> account behind it.  Exactly these five columns, in this order.
CREATE TABLE YKT_BRIDGE (
    CardNo          INTEGER     NOT NULL PRIMARY KEY,  -- card number as an integer (000123 -> 123)
    Status          INTEGER     NOT NULL DEFAULT 1,    -- 1 = usable
    AcctType        INTEGER     NOT NULL,              -- 1 guest, 2 group, 3 travel agent, 4 member card
    Acct            INTEGER     NOT NULL,              -- profile key (types 1-3) / member account (type 4)
    Password        VARCHAR(16) NOT NULL DEFAULT ''    -- the card holder's PIN
);

-- Member (stored-value) cards.  Exactly these 58 columns, in this order.
CREATE TABLE SavingsCard (
    Acct            INTEGER      NOT NULL DEFAULT 0,
    CardID          VARCHAR(20)  NOT NULL PRIMARY KEY,  -- card number as text, leading zeros kept
    OwnerID         INTEGER      NOT NULL DEFAULT 0,
    OwnerType       VARCHAR(20)  NOT NULL DEFAULT '',
    CardType        VARCHAR(20)  NOT NULL DEFAULT '',
    SecretWord      VARCHAR(40)  NOT NULL DEFAULT '',
    Password        VARCHAR(16)  NOT NULL DEFAULT '',
    AmountDebit     VARCHAR(20)  NOT NULL DEFAULT '0.00',
    AmountCredit    VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Surplus         VARCHAR(20)  NOT NULL DEFAULT '0.00', -- balance, money text
    Foregift        VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Quota           VARCHAR(20)  NOT NULL DEFAULT '0.00', -- credit quota, money text
    ReAcct          INTEGER      NOT NULL DEFAULT 0,
    AccPeriod       VARCHAR(20)  NOT NULL DEFAULT '',
    Status          INTEGER      NOT NULL DEFAULT 1,      -- 1 = usable, 0 = blocked (e.g. reported lost)
    Time1           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk1          VARCHAR(30)  NOT NULL DEFAULT '',
    Time2           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk2          VARCHAR(30)  NOT NULL DEFAULT '',
    Time3           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk3          VARCHAR(30)  NOT NULL DEFAULT '',
    Time4           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk4          VARCHAR(30)  NOT NULL DEFAULT '',
    LostReason      VARCHAR(100) NOT NULL DEFAULT '',
    Time5           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk5          VARCHAR(30)  NOT NULL DEFAULT '',
    Time6           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk6          VARCHAR(30)  NOT NULL DEFAULT '',
    LastAmount1     VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Time7           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk7          VARCHAR(30)  NOT NULL DEFAULT '',
    LargestAmount   VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Time8           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk8          VARCHAR(30)  NOT NULL DEFAULT '',
    LastAmount2     VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Time9           DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    Clerk9          VARCHAR(30)  NOT NULL DEFAULT '',
    FrozeReason     VARCHAR(100) NOT NULL DEFAULT '',
    ValidPeriod     INTEGER      NOT NULL DEFAULT 0,
    Name            VARCHAR(60)  NOT NULL DEFAULT '',
    Sex             INTEGER      NOT NULL DEFAULT 0,      -- 0..255
    Company         VARCHAR(100) NOT NULL DEFAULT '',
    Nation          VARCHAR(40)  NOT NULL DEFAULT '',
    Postcode        VARCHAR(10)  NOT NULL DEFAULT '',
    Email           VARCHAR(60)  NOT NULL DEFAULT '',
    Phone           VARCHAR(30)  NOT NULL DEFAULT '',
    Fax             VARCHAR(30)  NOT NULL DEFAULT '',
    IDType          VARCHAR(20)  NOT NULL DEFAULT '',
    IDNo            VARCHAR(30)  NOT NULL DEFAULT '',
    MemberFee       VARCHAR(20)  NOT NULL DEFAULT '0.00',
    EntryDate       DATETIME     NOT NULL DEFAULT '1980-01-01 12:00:00',
    ValidPeriod1    INTEGER      NOT NULL DEFAULT 0,
    Introducer      VARCHAR(60)  NOT NULL DEFAULT '',
    Occupation      VARCHAR(60)  NOT NULL DEFAULT '',
    Bank            VARCHAR(60)  NOT NULL DEFAULT '',
    BankAcct        VARCHAR(40)  NOT NULL DEFAULT '',
    Addr            VARCHAR(200) NOT NULL DEFAULT '',
    Comment         VARCHAR(200) NOT NULL DEFAULT ''
);

-- Balance of each member card when the ledger was opened; the ledger check
-- (telmar-site check) expects Surplus = Opening - the card's open postings.
CREATE TABLE SavingsCardOpening (
    CardID          VARCHAR(20)  NOT NULL PRIMARY KEY,
    Opening         VARCHAR(20)  NOT NULL                 -- money text
);

-- Discount code per card and point-of-sale station; 'NOYKT' bars the card there.
CREATE TABLE CardDiscount (
    CardNo          VARCHAR(20)  NOT NULL,                -- card number as text
    PosID           INTEGER      NOT NULL,                -- station number
    Code            VARCHAR(20)  NOT NULL,
    PRIMARY KEY (CardNo, PosID)
);

-- One row per posting made by zorYkt / vekYkt.  A cancellation does not add a
-- row: it marks the posting that it reverses as cancelled (1, or 2 while
-- another posting with the same TRANS_ID still stands).
CREATE TABLE yktpaydetail (
    PayNo           INTEGER      PRIMARY KEY AUTOINCREMENT, -- posting number, never reused
    TRANS_ID        VARCHAR(64)  NOT NULL,  -- posting identifier: card number text, ',', amount text, ','
    cancel          INTEGER      NOT NULL DEFAULT 0,        -- 0 = standing, 1 or 2 = cancelled
    CardNo          VARCHAR(20)  NOT NULL,  -- card number text (first field of TRANS_ID)
    AcctType        INTEGER      NOT NULL,  -- from YKT_BRIDGE at posting time
    Acct            INTEGER      NOT NULL,  -- from YKT_BRIDGE at posting time
    Amount          VARCHAR(20)  NOT NULL,  -- money text; positive = a charge
    PayDate         VARCHAR(30)  NOT NULL,  -- the host's DATE text, as sent
    GuestAcct       INTEGER      NOT NULL,  -- the host's POS_GUEST_ACCT
    Operator        VARCHAR(30)  NOT NULL,
    TransCode       INTEGER,                -- vekYkt only: transaction code
    Station         INTEGER,                -- vekYkt only: station number
    ProcName        VARCHAR(10)  NOT NULL,  -- 'zorYkt' or 'vekYkt'
    PostTime        DATETIME     NOT NULL,  -- local time of the posting
    BalanceAfter    VARCHAR(20),            -- member cards: Surplus right after the posting
    CancelTime      DATETIME                -- local time of the cancellation
);
CREATE INDEX yktpaydetail_trans_id ON yktpaydetail (TRANS_ID, cancel);
CREATE INDEX yktpaydetail_card ON yktpaydetail (CardNo);

------------------------------------------------------------------------
-- Hotel data
------------------------------------------------------------------------

-- Balance in the three profiles is the one-card charges owed by the account
-- (money text): a posting adds its amount, a cancellation takes it off again.

CREATE TABLE GstProfile (
    Acct            INTEGER      NOT NULL PRIMARY KEY,
    ChnName         VARCHAR(60)  NOT NULL DEFAULT '',
    Sex             VARCHAR(4)   NOT NULL DEFAULT '',
    Address         VARCHAR(200) NOT NULL DEFAULT '',
    Poscode         VARCHAR(10)  NOT NULL DEFAULT '',
    Phone           VARCHAR(30)  NOT NULL DEFAULT '',
    Pasprt          VARCHAR(30)  NOT NULL DEFAULT '',
    Fax             VARCHAR(30)  NOT NULL DEFAULT '',
    Balance         VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Status          VARCHAR(4)   NOT NULL DEFAULT '1'
);

CREATE TABLE GrpProfile (
    Acct            INTEGER      NOT NULL PRIMARY KEY,
    Name            VARCHAR(100) NOT NULL DEFAULT '',
    Addr            VARCHAR(200) NOT NULL DEFAULT '',
    ContName        VARCHAR(60)  NOT NULL DEFAULT '',
    Zip             VARCHAR(10)  NOT NULL DEFAULT '',
    Phone           VARCHAR(30)  NOT NULL DEFAULT '',
    Fax             VARCHAR(30)  NOT NULL DEFAULT '',
    Balance         VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Status          VARCHAR(4)   NOT NULL DEFAULT '1'
);

CREATE TABLE Tamain (
    Acct            INTEGER      NOT NULL PRIMARY KEY,
    TaName          VARCHAR(100) NOT NULL DEFAULT '',
    Addr            VARCHAR(200) NOT NULL DEFAULT '',
    Contact         VARCHAR(60)  NOT NULL DEFAULT '',
    Zip             VARCHAR(10)  NOT NULL DEFAULT '',
    Phone           VARCHAR(30)  NOT NULL DEFAULT '',
    Fax             VARCHAR(30)  NOT NULL DEFAULT '',
    Balance         VARCHAR(20)  NOT NULL DEFAULT '0.00',
    Status          VARCHAR(4)   NOT NULL DEFAULT '1'
);
