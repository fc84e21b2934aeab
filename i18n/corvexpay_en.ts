<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>CXInputNote</name>
    <message numerus="yes">
        <source>at least %n digits</source>
        <translation>
            <numerusform>at least %n digit</numerusform>
            <numerusform>at least %n digits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>at least %n letters</source>
        <translation>
            <numerusform>at least %n letter</numerusform>
            <numerusform>at least %n letters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>at least %n characters</source>
        <translation>
            <numerusform>at least %n character</numerusform>
            <numerusform>at least %n characters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n digits</source>
        <translation>
            <numerusform>%n digit</numerusform>
            <numerusform>%n digits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n letters</source>
        <translation>
            <numerusform>%n letter</numerusform>
            <numerusform>%n letters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n characters</source>
        <translation>
            <numerusform>%n character</numerusform>
            <numerusform>%n characters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n digits</source>
        <translation>
            <numerusform>up to %n digit</numerusform>
            <numerusform>up to %n digits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n letters</source>
        <translation>
            <numerusform>up to %n letter</numerusform>
            <numerusform>up to %n letters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n characters</source>
        <translation>
            <numerusform>up to %n character</numerusform>
            <numerusform>up to %n characters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n digits</source>
        <translation>
            <numerusform>%1 to %n digit</numerusform>
            <numerusform>%1 to %n digits</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n letters</source>
        <translation>
            <numerusform>%1 to %n letter</numerusform>
            <numerusform>%1 to %n letters</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n characters</source>
        <translation>
            <numerusform>%1 to %n character</numerusform>
            <numerusform>%1 to %n characters</numerusform>
        </translation>
    </message>
    <message>
        <source>a valid value</source>
        <translation>a valid value</translation>
    </message>
    <message>
        <source>a full date, today or earlier</source>
        <translation>a full date, today or earlier</translation>
    </message>
    <message>
        <source>choose one</source>
        <translation>choose one</translation>
    </message>
    <message>
        <source>required</source>
        <translation>required</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CXPayTemplatesModel</name>
    <message>
        <source>Add new</source>
        <translation>Add a new template</translation>
    </message>
    <message>
        <source>Credit code</source>
        <translation>Credit code</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>fullName</source>
        <translation>Full name</translation>
    </message>
    <message>
        <source>(%1 more details not shown)</source>
        <translation>(%1 more details not shown)</translation>
    </message>
</context>
<context>
    <name>CXPhoneWidget</name>
    <message>
        <source>Form</source>
        <translation>Mobile phone</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Mobile phone</translation>
    </message>
</context>
<context>
    <name>CXServiceText</name>
    <message>
        <source>(%1 more characters not shown)</source>
        <translation>(%1 more characters not shown)</translation>
    </message>
</context>
<context>
    <name>CXWPActionSelect</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Corvex payment</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Select your first action</source>
        <translation>Choose what to do</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Request all codes requirements</source>
        <translation>Find the customer&apos;s templates</translation>
    </message>
    <message>
        <source>Payment by code</source>
        <translation>Pay by code</translation>
    </message>
</context>
<context>
    <name>CXWPCheckParams</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>BIK</source>
        <translation>BIK</translation>
    </message>
    <message>
        <source>Check params</source>
        <translation>Check the bank</translation>
    </message>
    <message>
        <source>New template</source>
        <translation>New template</translation>
    </message>
    <message>
        <source>Enter the BIK of the customer&apos;s bank</source>
        <translation>Enter the BIK of the customer&apos;s bank</translation>
    </message>
</context>
<context>
    <name>CXWPMsgSender</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Server exchange</source>
        <translation>Exchange with the service</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>Request</translation>
    </message>
    <message>
        <source>Invalid uid: %1 != %2</source>
        <translation>A reply to another request: %1 instead of %2</translation>
    </message>
    <message>
        <source>Dalmor error</source>
        <translation>Dalmor error</translation>
    </message>
    <message>
        <source>Corvex error</source>
        <translation>Corvex error</translation>
    </message>
    <message>
        <source>Connection error</source>
        <translation>Connection error</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>No reply in time</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>Bank</translation>
    </message>
    <message>
        <source>BIK</source>
        <translation>BIK</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>Fill next fields</source>
        <translation>Fill in these fields</translation>
    </message>
    <message>
        <source>Full name</source>
        <translation>Full name</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>a reply of %1 characters is too large to read</source>
        <translation>A reply of %1 characters is too large to read</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>the request could not be delivered</source>
        <translation>the request could not be delivered</translation>
    </message>
    <message>
        <source>The request did not reach the service. Retry: send it again.</source>
        <translation>The request did not reach the service. Retry: send it again.</translation>
    </message>
    <message>
        <source>the reply cannot be read</source>
        <translation>the reply cannot be read</translation>
    </message>
    <message>
        <source>The service&apos;s reply cannot be read. Retry: send the request again.</source>
        <translation>The service&apos;s reply cannot be read. Retry: send the request again.</translation>
    </message>
    <message>
        <source>The service did not reply in time. Retry: send the request again.</source>
        <translation>The service did not reply in time. Retry: send the request again.</translation>
    </message>
    <message>
        <source>Waiting for the service&apos;s reply.</source>
        <translation>Waiting for the service&apos;s reply.</translation>
    </message>
    <message>
        <source>The service refused the request. Back: correct it and send again.</source>
        <translation>The service refused the request. Back: correct it and send again.</translation>
    </message>
    <message>
        <source>Customer registered. Next: add a template with the bank&apos;s BIK.</source>
        <translation>Customer registered. Next: add a template with the bank&apos;s BIK.</translation>
    </message>
    <message>
        <source>Template registered. Next: find the customer&apos;s templates.</source>
        <translation>Template registered. Next: find the customer&apos;s templates.</translation>
    </message>
    <message>
        <source>Bank found. Next: fill in the template.</source>
        <translation>Bank found. Next: fill in the template.</translation>
    </message>
    <message>
        <source>Customer found. Templates: %1. Next: choose one.</source>
        <translation>Customer found. Templates: %1. Next: choose one.</translation>
    </message>
    <message>
        <source>Customer found, no templates yet. Next: add one with the bank&apos;s BIK.</source>
        <translation>Customer found, no templates yet. Next: add one with the bank&apos;s BIK.</translation>
    </message>
    <message>
        <source>The customer must be registered first. Next: registration.</source>
        <translation>The customer must be registered first. Next: registration.</translation>
    </message>
</context>
<context>
    <name>CXWPPayment</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Payment</translation>
    </message>
    <message>
        <source>Add to the basket</source>
        <translation>Add to the basket</translation>
    </message>
    <message>
        <source>more than zero</source>
        <translation>more than zero</translation>
    </message>
</context>
<context>
    <name>CXWPPrepareAllTemplatesRequest</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>All templates request</source>
        <translation>Find the customer&apos;s templates</translation>
    </message>
    <message>
        <source>Input the phone number</source>
        <translation>Enter the customer&apos;s mobile phone number</translation>
    </message>
    <message>
        <source>AllTemplatesRequest</source>
        <translation>Customer&apos;s templates</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Mobile phone</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationAddress</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Input the address</source>
        <translation>Enter the address</translation>
    </message>
    <message>
        <source>Countrry</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>District</source>
        <translation>District</translation>
    </message>
    <message>
        <source>City</source>
        <translation>City</translation>
    </message>
    <message>
        <source>Street</source>
        <translation>Street</translation>
    </message>
    <message>
        <source>House</source>
        <translation>House</translation>
    </message>
    <message>
        <source>Building</source>
        <translation>Building</translation>
    </message>
    <message>
        <source>Apartment</source>
        <translation>Apartment</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationBase</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Input the phone number and the name</source>
        <translation>Enter the mobile phone number and the name</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Last name</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Second Name</source>
        <translation>Patronymic</translation>
    </message>
    <message>
        <source>Skip documents data</source>
        <translation>Skip the document details</translation>
    </message>
    <message>
        <source>Skip address</source>
        <translation>Skip the address</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Mobile phone</translation>
    </message>
    <message>
        <source>Full name</source>
        <translation>Full name</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationDocuments</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Input the document data</source>
        <translation>Enter the document details</translation>
    </message>
    <message>
        <source>Document type</source>
        <translation>Document type</translation>
    </message>
    <message>
        <source>Series</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Issuer</source>
        <translation>Issuer</translation>
    </message>
    <message>
        <source>Date of issue</source>
        <translation>Date of issue</translation>
    </message>
    <message>
        <source>dd MMM yyyy</source>
        <translation>dd MMM yyyy</translation>
    </message>
    <message>
        <source>Birthday</source>
        <translation>Date of birth</translation>
    </message>
    <message>
        <source>Birthplace</source>
        <translation>Place of birth</translation>
    </message>
    <message>
        <source>Citizenship</source>
        <translation>Citizenship</translation>
    </message>
    <message>
        <source>Skip address</source>
        <translation>Skip the address</translation>
    </message>
    <message>
        <source>Passport</source>
        <translation>Passport</translation>
    </message>
    <message>
        <source>Not passport</source>
        <translation>Not a passport</translation>
    </message>
    <message>
        <source>Foreign passport</source>
        <translation>Foreign passport</translation>
    </message>
    <message>
        <source>Not foreign passport</source>
        <translation>Not a foreign passport</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Document</translation>
    </message>
    <message>
        <source>Issue date</source>
        <translation>Issue date</translation>
    </message>
</context>
<context>
    <name>CXWPRegistreTemplate</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Template parametres</source>
        <translation>Template parameters</translation>
    </message>
    <message>
        <source>Plan amount</source>
        <translation>Planned amount</translation>
    </message>
    <message>
        <source>Registre template</source>
        <translation>Register a template</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Mobile phone</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>Bank</translation>
    </message>
    <message>
        <source>Bik</source>
        <translation>BIK</translation>
    </message>
    <message>
        <source>New template</source>
        <translation>New template</translation>
    </message>
    <message>
        <source>Enter the template parameters</source>
        <translation>Enter the template parameters</translation>
    </message>
</context>
<context>
    <name>CXWPSelectTemplate</name>
    <message>
        <source>WizardPage</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Template selection</source>
        <translation>Choose a template</translation>
    </message>
    <message>
        <source>Choose the templayt you want payment</source>
        <translation>Choose the template to pay</translation>
    </message>
</context>
<context>
    <name>CorvexPayWizard</name>
    <message>
        <source>Corvex payment</source>
        <translation>Corvex payment</translation>
    </message>
    <message>
        <source>Discard the payment?</source>
        <translation>Discard the payment?</translation>
    </message>
    <message>
        <source>What has been entered so far will be lost.</source>
        <translation>What has been entered so far will be lost.</translation>
    </message>
</context>
<context>
    <name>CorvexPpv</name>
    <message>
        <source>Summ</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>Comission</source>
        <translation>Commission</translation>
    </message>
    <message>
        <source>To Account</source>
        <translation>To account</translation>
    </message>
    <message>
        <source>Incorrect barcode</source>
        <translation>Incorrect barcode</translation>
    </message>
    <message>
        <source>The field is used for barcode parsing</source>
        <translation>This field is filled from the barcode</translation>
    </message>
    <message>
        <source>Barcode parsing error</source>
        <translation>Barcode parsing error</translation>
    </message>
    <message>
        <source>Invalid summ format: </source>
        <translation>Invalid amount: </translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; does not fit this field and was not entered</source>
        <translation>%1: &quot;%2&quot; does not fit this field and was not entered</translation>
    </message>
    <message>
        <source>choose one</source>
        <translation>choose one</translation>
    </message>
</context>
</TS>
