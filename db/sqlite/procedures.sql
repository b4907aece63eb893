-- The posting procedures zorYkt and vekYkt, SQLite edition.
--
-- SQLite has no stored procedures.  The platform layer rewrites the call
--     Exec zorYkt <args>     into     INSERT INTO zorYkt VALUES (<args>)
--     Exec vekYkt <args>     into     INSERT INTO vekYkt VALUES (<args>)
-- with the argument text unchanged, so each procedure is a view with one
-- column per argument and an INSTEAD OF INSERT trigger that does the work.
-- Both hand their arguments to the internal view YktPosting, whose trigger
-- holds the one implementation.
--
-- A refusal is RAISE(ABORT, ...): the INSERT fails with that text and,
-- being one statement in autocommit, leaves nothing written.  The whole
-- trigger runs inside that statement's write transaction, so no other
-- station can change a balance between a test and the update that follows.
--
-- Money: the amount argument arrives as a number; it must have at most two
-- decimals and is turned into integer cents with CAST(round(x * 100) AS
-- INTEGER).  Stored money is canonical text ('100.50', '-20.00'), read into
-- cents the same way and written back with
--     printf('%s%d.%02d', <sign>, abs(cents) / 100, abs(cents) % 100)
-- so no sum is ever kept in floating point.

-- Arguments of a posting (Arg8 = 0):
--   CardNo    card number as an integer        PayDate   the host's DATE text
--   GuestAcct POS_GUEST_ACCT                   Amount    amount, a number
--   TransId   'cardno,amount,'                 Operator  operator text
--   Arg7      always 1 (not used)              Arg8      0 = posting, 1 = cancellation
--   Arg9      always 0 (not used)
-- A cancellation (Arg8 = 1) uses TransId alone.
CREATE VIEW zorYkt (CardNo, PayDate, GuestAcct, Amount, TransId, Operator,
                    Arg7, Arg8, Arg9) AS
    SELECT NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL WHERE 0;

-- As zorYkt, plus the host's transaction code and the station number.
CREATE VIEW vekYkt (CardNo, PayDate, GuestAcct, Amount, TransId, Operator,
                    Arg7, Arg8, Arg9, TransCode, Station) AS
    SELECT NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL WHERE 0;

-- Internal: the arguments of either procedure plus which one was called.
CREATE VIEW YktPosting (CardNo, PayDate, GuestAcct, Amount, TransId, Operator,
                        IsCancel, TransCode, Station, ProcName) AS
    SELECT NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL WHERE 0;

-- Internal: charge Cents (integer cents; negative = take a charge back) to
-- the account of a card.  A member card's balance goes down by a charge,
-- a hotel account's balance (what it owes) goes up.
CREATE VIEW YktCharge (AcctType, CardNo, Acct, Cents) AS
    SELECT NULL, NULL, NULL, NULL WHERE 0;

CREATE TRIGGER zorYkt_call INSTEAD OF INSERT ON zorYkt
BEGIN
    INSERT INTO YktPosting VALUES (NEW.CardNo, NEW.PayDate, NEW.GuestAcct, NEW.Amount,
                                   NEW.TransId, NEW.Operator, NEW.Arg8,
                                   NULL, NULL, 'zorYkt');
END;

CREATE TRIGGER vekYkt_call INSTEAD OF INSERT ON vekYkt
BEGIN
    INSERT INTO YktPosting VALUES (NEW.CardNo, NEW.PayDate, NEW.GuestAcct, NEW.Amount,
                                   NEW.TransId, NEW.Operator, NEW.Arg8,
                                   NEW.TransCode, NEW.Station, 'vekYkt');
END;

------------------------------------------------------------------------
-- Cancellation marks
------------------------------------------------------------------------

-- An identifier is only the card and the amount, so one identifier can stand
-- for several postings. cancel = 1 says that nothing under it is left to
-- cancel, which is what a cancellation check asks; a cancelled posting whose
-- identifier still has a standing one is marked 2. Every posting and
-- cancellation marks its identifier anew.
CREATE VIEW YktCancelMarks (TransId) AS
    SELECT NULL WHERE 0;

CREATE TRIGGER YktCancelMarks_apply INSTEAD OF INSERT ON YktCancelMarks
BEGIN
    UPDATE yktpaydetail
       SET cancel = CASE WHEN EXISTS (SELECT 1 FROM yktpaydetail s
                                       WHERE s.TRANS_ID = NEW.TransId AND s.cancel = 0)
                         THEN 2 ELSE 1 END
     WHERE TRANS_ID = NEW.TransId AND cancel IN (1, 2);
END;

------------------------------------------------------------------------
-- Moving money
------------------------------------------------------------------------

-- Each UPDATE reads the stored money text into cents (m.c), applies the
-- charge, and writes canonical text back.  Only the table of the account
-- type is touched.
CREATE TRIGGER YktCharge_apply INSTEAD OF INSERT ON YktCharge
BEGIN
    UPDATE SavingsCard
       SET Surplus = printf('%s%d.%02d', CASE WHEN m.c < 0 THEN '-' ELSE '' END, abs(m.c) / 100, abs(m.c) % 100)
      FROM (SELECT CardID AS k,
                   CAST(round(CAST(Surplus AS REAL) * 100) AS INTEGER) - NEW.Cents AS c
              FROM SavingsCard WHERE CardID = NEW.CardNo AND NEW.AcctType = 4) AS m
     WHERE SavingsCard.CardID = m.k;

    UPDATE GstProfile
       SET Balance = printf('%s%d.%02d', CASE WHEN m.c < 0 THEN '-' ELSE '' END, abs(m.c) / 100, abs(m.c) % 100)
      FROM (SELECT Acct AS k,
                   CAST(round(CAST(Balance AS REAL) * 100) AS INTEGER) + NEW.Cents AS c
              FROM GstProfile WHERE Acct = NEW.Acct AND NEW.AcctType = 1) AS m
     WHERE GstProfile.Acct = m.k;

    UPDATE GrpProfile
       SET Balance = printf('%s%d.%02d', CASE WHEN m.c < 0 THEN '-' ELSE '' END, abs(m.c) / 100, abs(m.c) % 100)
      FROM (SELECT Acct AS k,
                   CAST(round(CAST(Balance AS REAL) * 100) AS INTEGER) + NEW.Cents AS c
              FROM GrpProfile WHERE Acct = NEW.Acct AND NEW.AcctType = 2) AS m
     WHERE GrpProfile.Acct = m.k;

    UPDATE Tamain
       SET Balance = printf('%s%d.%02d', CASE WHEN m.c < 0 THEN '-' ELSE '' END, abs(m.c) / 100, abs(m.c) % 100)
      FROM (SELECT Acct AS k,
                   CAST(round(CAST(Balance AS REAL) * 100) AS INTEGER) + NEW.Cents AS c
              FROM Tamain WHERE Acct = NEW.Acct AND NEW.AcctType = 3) AS m
     WHERE Tamain.Acct = m.k;
END;

------------------------------------------------------------------------
-- Posting (IsCancel = 0)
------------------------------------------------------------------------

CREATE TRIGGER YktPosting_post INSTEAD OF INSERT ON YktPosting
WHEN NEW.IsCancel IS NOT 1
BEGIN
    SELECT RAISE(ABORT, 'one-card posting refused: argument 8 must be 0 (posting) or 1 (cancellation)')
     WHERE NEW.IsCancel IS NOT 0;

    -- The amount literal reaches us as a double; its shortest text form
    -- (up to 15 significant digits) shows how many decimals were written.
    SELECT RAISE(ABORT, 'one-card posting refused: the amount must be a number with at most 2 decimals')
     WHERE typeof(NEW.Amount) NOT IN ('integer', 'real')
        OR CAST(NEW.Amount AS TEXT) GLOB '*[eE]*'
        OR (instr(CAST(NEW.Amount AS TEXT), '.') > 0
            AND length(CAST(NEW.Amount AS TEXT)) - instr(CAST(NEW.Amount AS TEXT), '.') > 2);
    SELECT RAISE(ABORT, 'one-card posting refused: the amount is out of range')
     WHERE abs(NEW.Amount) >= 1000000000000;

    -- The identifier's first field is the card number as text; argument 1 is
    -- the same number read as an integer.
    SELECT RAISE(ABORT, 'one-card posting refused: the posting identifier does not start with the card number')
     WHERE typeof(NEW.CardNo) IS NOT 'integer'
        OR instr(NEW.TransId, ',') < 2
        OR substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1) GLOB '*[^0-9]*'
        OR CAST(substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1) AS INTEGER) IS NOT NEW.CardNo;

    SELECT RAISE(ABORT, 'one-card posting refused: unknown card (no YKT_BRIDGE row)')
     WHERE NOT EXISTS (SELECT 1 FROM YKT_BRIDGE WHERE CardNo = NEW.CardNo);
    SELECT RAISE(ABORT, 'one-card posting refused: the card is blocked (YKT_BRIDGE status is not 1)')
      FROM YKT_BRIDGE WHERE CardNo = NEW.CardNo AND Status IS NOT 1;
    SELECT RAISE(ABORT, 'one-card posting refused: the card has an unknown account type')
      FROM YKT_BRIDGE WHERE CardNo = NEW.CardNo AND AcctType NOT IN (1, 2, 3, 4);

    -- The account behind the card must exist: a member card by its card
    -- number text, a hotel account by the bridge's account number.
    SELECT RAISE(ABORT, 'one-card posting refused: the account of the card does not exist')
      FROM YKT_BRIDGE b
     WHERE b.CardNo = NEW.CardNo
       AND NOT CASE b.AcctType
               WHEN 4 THEN EXISTS (SELECT 1 FROM SavingsCard
                                    WHERE CardID = substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1))
               WHEN 1 THEN EXISTS (SELECT 1 FROM GstProfile WHERE Acct = b.Acct)
               WHEN 2 THEN EXISTS (SELECT 1 FROM GrpProfile WHERE Acct = b.Acct)
               WHEN 3 THEN EXISTS (SELECT 1 FROM Tamain     WHERE Acct = b.Acct)
               END;

    -- Member card: usable, and balance plus quota covers the amount with one
    -- cent of tolerance.  Tested here and charged below within this one
    -- statement's write transaction, so no other posting can come between.
    SELECT RAISE(ABORT, 'one-card posting refused: the member card is blocked (SavingsCard status is not 1)')
      FROM YKT_BRIDGE b JOIN SavingsCard s
        ON s.CardID = substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1)
     WHERE b.CardNo = NEW.CardNo AND b.AcctType = 4 AND s.Status IS NOT 1;
    SELECT RAISE(ABORT, 'one-card posting refused: insufficient balance (balance plus quota does not cover the amount)')
      FROM YKT_BRIDGE b JOIN SavingsCard s
        ON s.CardID = substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1)
     WHERE b.CardNo = NEW.CardNo AND b.AcctType = 4
       AND CAST(round(CAST(s.Surplus AS REAL) * 100) AS INTEGER)
         + CAST(round(CAST(s.Quota AS REAL) * 100) AS INTEGER)
         - CAST(round(NEW.Amount * 100) AS INTEGER) < -1;

    INSERT INTO YktCharge
    SELECT b.AcctType, substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1), b.Acct,
           CAST(round(NEW.Amount * 100) AS INTEGER)
      FROM YKT_BRIDGE b WHERE b.CardNo = NEW.CardNo;

    INSERT INTO yktpaydetail (TRANS_ID, cancel, CardNo, AcctType, Acct, Amount, PayDate,
                              GuestAcct, Operator, TransCode, Station, ProcName,
                              PostTime, BalanceAfter)
    SELECT NEW.TransId, 0, m.card, b.AcctType, b.Acct,
           printf('%s%d.%02d', CASE WHEN m.c < 0 THEN '-' ELSE '' END, abs(m.c) / 100, abs(m.c) % 100),
           NEW.PayDate, NEW.GuestAcct, NEW.Operator, NEW.TransCode, NEW.Station, NEW.ProcName,
           datetime('now', 'localtime'),
           (SELECT Surplus FROM SavingsCard WHERE b.AcctType = 4 AND CardID = m.card)
      FROM YKT_BRIDGE b,
           (SELECT substr(NEW.TransId, 1, instr(NEW.TransId, ',') - 1) AS card,
                   CAST(round(NEW.Amount * 100) AS INTEGER) AS c) AS m
     WHERE b.CardNo = NEW.CardNo;

    INSERT INTO YktCancelMarks VALUES (NEW.TransId);
END;

------------------------------------------------------------------------
-- Cancellation (IsCancel = 1)
------------------------------------------------------------------------

-- The posting cancelled is the most recent standing one with this TRANS_ID.
-- Its own recorded amount is taken back and it is marked cancelled, so a
-- repeated cancellation finds nothing left and is refused.
CREATE TRIGGER YktPosting_cancel INSTEAD OF INSERT ON YktPosting
WHEN NEW.IsCancel IS 1
BEGIN
    SELECT RAISE(ABORT, 'one-card cancellation refused: no standing posting with this TRANS_ID')
     WHERE NOT EXISTS (SELECT 1 FROM yktpaydetail WHERE TRANS_ID = NEW.TransId AND cancel = 0);

    SELECT RAISE(ABORT, 'one-card cancellation refused: the account of the posting no longer exists')
      FROM yktpaydetail d
     WHERE d.PayNo = (SELECT max(PayNo) FROM yktpaydetail WHERE TRANS_ID = NEW.TransId AND cancel = 0)
       AND NOT CASE d.AcctType
               WHEN 4 THEN EXISTS (SELECT 1 FROM SavingsCard WHERE CardID = d.CardNo)
               WHEN 1 THEN EXISTS (SELECT 1 FROM GstProfile WHERE Acct = d.Acct)
               WHEN 2 THEN EXISTS (SELECT 1 FROM GrpProfile WHERE Acct = d.Acct)
               WHEN 3 THEN EXISTS (SELECT 1 FROM Tamain     WHERE Acct = d.Acct)
               ELSE 0
               END;

    INSERT INTO YktCharge
    SELECT d.AcctType, d.CardNo, d.Acct, -CAST(round(CAST(d.Amount AS REAL) * 100) AS INTEGER)
      FROM yktpaydetail d
     WHERE d.PayNo = (SELECT max(PayNo) FROM yktpaydetail WHERE TRANS_ID = NEW.TransId AND cancel = 0);

    UPDATE yktpaydetail
       SET cancel = 1, CancelTime = datetime('now', 'localtime')
     WHERE PayNo = (SELECT max(PayNo) FROM yktpaydetail WHERE TRANS_ID = NEW.TransId AND cancel = 0);

    INSERT INTO YktCancelMarks VALUES (NEW.TransId);
END;
